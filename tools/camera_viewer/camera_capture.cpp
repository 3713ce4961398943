#include "tools/camera_viewer/camera_capture.h"

#include <dshow.h>
#include <qedit.h>

#include <cstdlib>

#include "camera/video_inputs.h"
#include "framework/critical_section.h"
#include "framework/handles.h"
#include "framework/unique_owner.h"

// In the SDK's uuid library, but not declared by this qedit.h.
extern "C" const CLSID CLSID_SampleGrabber;
extern "C" const CLSID CLSID_NullRenderer;

namespace {

void ReleaseUnknown(IUnknown* object) {
  object->Release();
}
template <class I>
using Com = UniqueOwner<I*, ReleasedBy<IUnknown, &ReleaseUnknown>>;

template <class I>
Com<I> Create(REFCLSID clsid, REFIID iid) {
  I* raw = nullptr;
  CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, reinterpret_cast<void**>(&raw));
  return Com<I>(raw);
}

template <class I>
Com<I> Query(IUnknown* object, REFIID iid) {
  I* raw = nullptr;
  if (object) object->QueryInterface(iid, reinterpret_cast<void**>(&raw));
  return Com<I>(raw);
}

// The camera's filter, found by its friendly name as applications list it;
// `listed` says whether the name was found (even when the filter then fails).
Com<IBaseFilter> OpenCamera(const std::wstring& name, bool& listed) {
  IBaseFilter* filter = nullptr;
  listed = VisitVideoInputs([&](const std::wstring& friendly, IMoniker* moniker) {
    if (friendly != name) return false;
    moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter));
    return true;
  });
  return Com<IBaseFilter>(filter);
}

// Counts the frames the grabber passes on and keeps a copy of the newest.
// Called on the graph's streaming thread; the graph holds no reference (the
// object outlives the graph's run).
class FrameCounter final : public ISampleGrabberCB {
 public:
  FrameCounter(int wanted) : wanted_(wanted), enough_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  HANDLE enough() const { return enough_.get(); }

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ISampleGrabberCB)) {
      *object = static_cast<ISampleGrabberCB*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP SampleCB(double, IMediaSample*) override { return E_NOTIMPL; }
  STDMETHODIMP BufferCB(double stamp, BYTE* buffer, long length) override {
    ScopedLock lock(section_);
    if (result_.frames > 0 && stamp <= result_.lastStamp) result_.stampsIncrease = false;
    if (result_.frames == 0) result_.firstStamp = stamp;
    result_.lastStamp = stamp;
    result_.lastFrame.assign(buffer, buffer + (length > 0 ? length : 0));
    if (++result_.frames >= wanted_) SetEvent(enough_.get());
    return S_OK;
  }
  CaptureResult Take() {
    ScopedLock lock(section_);
    return std::move(result_);
  }

 private:
  const int wanted_;
  UniqueHandle enough_;
  CriticalSection section_;
  CaptureResult result_;
};

// Chooses `subtype` through the capture pin's stream configuration, as
// applications choose a camera's format before they connect it. A camera
// without the interface or that format is left to the connection.
void ChooseFormat(ICaptureGraphBuilder2* builder, IBaseFilter* camera, const GUID& subtype) {
  IAMStreamConfig* raw = nullptr;
  if (FAILED(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera, IID_IAMStreamConfig,
                                    reinterpret_cast<void**>(&raw))))
    return;
  Com<IAMStreamConfig> config(raw);
  int count = 0, capsSize = 0;
  if (FAILED(config.get()->GetNumberOfCapabilities(&count, &capsSize)) ||
      capsSize != sizeof(VIDEO_STREAM_CONFIG_CAPS))
    return;
  for (int i = 0; i < count; ++i) {
    AM_MEDIA_TYPE* type = nullptr;
    VIDEO_STREAM_CONFIG_CAPS caps;
    if (config.get()->GetStreamCaps(i, &type, reinterpret_cast<BYTE*>(&caps)) != S_OK || !type) continue;
    const bool match = IsEqualGUID(type->subtype, subtype) && IsEqualGUID(type->formattype, FORMAT_VideoInfo);
    if (match) config.get()->SetFormat(type);
    CoTaskMemFree(type->pbFormat);
    if (type->pUnk) type->pUnk->Release();
    CoTaskMemFree(type);
    if (match) return;
  }
}

}  // namespace

CaptureStatus CaptureFrames(const std::wstring& name, FrameFormat format, int frames, DWORD timeoutMs,
                            CaptureResult& result) {
  bool listed = false;
  Com<IBaseFilter> camera = OpenCamera(name, listed);
  if (!camera) return listed ? CaptureStatus::kNoGraph : CaptureStatus::kNoSuchCamera;
  auto graph = Create<IGraphBuilder>(CLSID_FilterGraph, IID_IGraphBuilder);
  auto builder = Create<ICaptureGraphBuilder2>(CLSID_CaptureGraphBuilder2, IID_ICaptureGraphBuilder2);
  auto grabberFilter = Create<IBaseFilter>(CLSID_SampleGrabber, IID_IBaseFilter);
  auto sink = Create<IBaseFilter>(CLSID_NullRenderer, IID_IBaseFilter);
  auto grabber = Query<ISampleGrabber>(grabberFilter.get(), IID_ISampleGrabber);
  auto control = Query<IMediaControl>(graph.get(), IID_IMediaControl);
  if (!graph || !builder || !grabber || !sink || !control) return CaptureStatus::kNoGraph;

  AM_MEDIA_TYPE wanted{};
  wanted.majortype = MEDIATYPE_Video;
  wanted.subtype = FrameSubtype(format);
  wanted.formattype = FORMAT_VideoInfo;
  FrameCounter counter(frames);
  if (FAILED(builder.get()->SetFiltergraph(graph.get())) ||
      FAILED(graph.get()->AddFilter(camera.get(), L"Camera")) ||
      FAILED(graph.get()->AddFilter(grabberFilter.get(), L"Grabber")) ||
      FAILED(graph.get()->AddFilter(sink.get(), L"Sink")) || FAILED(grabber.get()->SetMediaType(&wanted)) ||
      FAILED(grabber.get()->SetBufferSamples(FALSE)) || FAILED(grabber.get()->SetCallback(&counter, 1)))
    return CaptureStatus::kNoGraph;
  ChooseFormat(builder.get(), camera.get(), wanted.subtype);
  if (FAILED(builder.get()->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera.get(),
                                         grabberFilter.get(), sink.get())))
    return CaptureStatus::kNoGraph;

  AM_MEDIA_TYPE connected{};
  if (FAILED(grabber.get()->GetConnectedMediaType(&connected))) return CaptureStatus::kNoGraph;
  if (IsEqualGUID(connected.formattype, FORMAT_VideoInfo) && connected.pbFormat &&
      connected.cbFormat >= sizeof(VIDEOINFOHEADER)) {
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(connected.pbFormat);
    result.width = info->bmiHeader.biWidth;
    result.height = std::abs(info->bmiHeader.biHeight);
  }
  CoTaskMemFree(connected.pbFormat);
  if (connected.pUnk) connected.pUnk->Release();

  const bool running = SUCCEEDED(control.get()->Run());
  const bool enough = running && WaitForSingleObject(counter.enough(), timeoutMs) == WAIT_OBJECT_0;
  control.get()->Stop();  // the streaming thread has ended when this returns
  grabber.get()->SetCallback(nullptr, 1);
  const int width = result.width, height = result.height;
  result = counter.Take();
  result.width = width;
  result.height = height;
  return enough ? CaptureStatus::kOk : CaptureStatus::kTooFewFrames;
}
