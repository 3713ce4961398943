#include "tests/support/camera_graph.h"

#include <qedit.h>

#include <algorithm>
#include <cstring>

#include "camera/filter_factory.h"
#include "camera/filter_media_types.h"
#include "tests/support/pump.h"
#include "video/frame_section.h"
#include "video/video_frame.h"

namespace {

// The SampleGrabber and NullRenderer filters of the DirectShow runtime.
const CLSID kSampleGrabber = {0xC1F400A0, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
const CLSID kNullRenderer = {0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

template <class T>
ComRef<T> Create(REFCLSID clsid, REFIID iid, HRESULT& hr) {
  T* object = nullptr;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, reinterpret_cast<void**>(&object));
  return ComRef<T>(object);
}

uint8_t Clamp(double v) {
  return static_cast<uint8_t>(std::min(255.0, std::max(0.0, v + 0.5)));
}

}  // namespace

// Keeps a copy of every sample the grabber passes on.
class FrameCollector final : public ISampleGrabberCB {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (riid == IID_IUnknown || riid == IID_ISampleGrabberCB) {
      *object = static_cast<ISampleGrabberCB*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }
  STDMETHODIMP SampleCB(double, IMediaSample* sample) override {
    CapturedFrame frame;
    frame.arrivedMs = GetTickCount();
    REFERENCE_TIME end = 0;
    sample->GetTime(&frame.start, &end);
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    frame.bytes.assign(data, data + sample->GetActualDataLength());
    ScopedLock hold(lock_);
    frames_.push_back(std::move(frame));
    return S_OK;
  }
  STDMETHODIMP BufferCB(double, BYTE*, long) override { return E_NOTIMPL; }

  size_t count() {
    ScopedLock hold(lock_);
    return frames_.size();
  }
  std::vector<CapturedFrame> Take() {
    ScopedLock hold(lock_);
    return std::exchange(frames_, {});
  }

 private:
  LONG references_ = 1;
  CriticalSection lock_;
  std::vector<CapturedFrame> frames_;
};

CameraGraph::CameraGraph(const CameraProfile& profile, const std::string& sectionName, CameraFormat format)
    : collector_(new FrameCollector) {
  built_ = Build(profile, sectionName, format);
}

CameraGraph::~CameraGraph() {
  Stop();
  control_.reset();
  camera_.reset();
  graph_.reset();
  collector_->Release();
}

HRESULT CameraGraph::Build(const CameraProfile& profile, const std::string& sectionName,
                           CameraFormat format) {
  HRESULT hr = S_OK;
  graph_ = Create<IGraphBuilder>(CLSID_FilterGraph, IID_IGraphBuilder, hr);
  if (FAILED(hr)) return hr;
  auto builder = Create<ICaptureGraphBuilder2>(CLSID_CaptureGraphBuilder2, IID_ICaptureGraphBuilder2, hr);
  if (FAILED(hr) || FAILED(hr = builder->SetFiltergraph(graph_.get()))) return hr;
  IBaseFilter* rawCamera = nullptr;
  hr = CreateCameraFilterReading(profile, sectionName.c_str(), nullptr, IID_IBaseFilter,
                                 reinterpret_cast<void**>(&rawCamera));
  camera_.reset(rawCamera);
  if (FAILED(hr) || FAILED(hr = graph_->AddFilter(camera_.get(), profile.friendlyName))) return hr;
  auto grabber = Create<IBaseFilter>(kSampleGrabber, IID_IBaseFilter, hr);
  if (FAILED(hr) || FAILED(hr = graph_->AddFilter(grabber.get(), L"grabber"))) return hr;
  auto grab = Query<ISampleGrabber>(grabber.get(), IID_ISampleGrabber);
  if (!grab) return E_NOINTERFACE;
  grab->SetBufferSamples(FALSE);
  grab->SetOneShot(FALSE);
  if (FAILED(hr = grab->SetCallback(collector_, 0))) return hr;
  auto renderer = Create<IBaseFilter>(kNullRenderer, IID_IBaseFilter, hr);
  if (FAILED(hr) || FAILED(hr = graph_->AddFilter(renderer.get(), L"null"))) return hr;
  // Choose the format the way applications do, before connecting.
  IAMStreamConfig* rawConfig = nullptr;
  hr = builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera_.get(), IID_IAMStreamConfig,
                              reinterpret_cast<void**>(&rawConfig));
  ComRef<IAMStreamConfig> config(rawConfig);
  if (FAILED(hr)) return hr;
  for (int i = 0;; ++i) {
    AM_MEDIA_TYPE* type = nullptr;
    VIDEO_STREAM_CONFIG_CAPS caps;
    if (config->GetStreamCaps(i, &type, reinterpret_cast<BYTE*>(&caps)) != S_OK) return E_FAIL;
    CameraFormat offered;
    const bool match = FindOfferedFormat(*type, profile.width, profile.height, offered) && offered == format;
    if (match) hr = config->SetFormat(type);
    CoTaskMemFree(type->pbFormat);
    CoTaskMemFree(type);
    if (match) break;
  }
  if (FAILED(hr)) return hr;
  hr = builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera_.get(), grabber.get(),
                             renderer.get());
  if (FAILED(hr)) return hr;
  control_ = Query<IMediaControl>(graph_.get(), IID_IMediaControl);
  return control_ ? S_OK : E_NOINTERFACE;
}

HRESULT CameraGraph::Run() {
  return control_ ? control_->Run() : E_FAIL;
}

HRESULT CameraGraph::Stop() {
  return control_ ? control_->Stop() : S_FALSE;
}

bool CameraGraph::WaitFrames(size_t count, DWORD timeoutMs) {
  return PumpUntil([&] { return collector_->count() >= count; }, timeoutMs);
}

std::vector<CapturedFrame> CameraGraph::Take() {
  return collector_->Take();
}

bool CameraGraph::WaitForFrame(const std::function<bool(const CapturedFrame&)>& match, DWORD timeoutMs) {
  return PumpUntil(
      [&] {
        for (const CapturedFrame& frame : collector_->Take())
          if (match(frame)) return true;
        return false;
      },
      timeoutMs);
}

struct Producer::Impl {
  explicit Impl(const std::string& name) : section(name) {}
  FrameSection section;
  std::unique_ptr<VideoFrame> frame;
  bool Publish(int width, int height, Colour (*at)(const void*, int, int, int, int), const void* context) {
    if (!frame || frame->width() != width || frame->height() != height)
      frame = VideoFrame::Create(width, height);
    if (!frame) return false;
    for (int y = 0; y < height; ++y) {
      uint8_t* row = frame->bits() + static_cast<size_t>(height - 1 - y) * frame->stride();
      for (int x = 0; x < width; ++x) {
        const Colour c = at(context, width, height, x, y);
        row[x * 3] = static_cast<uint8_t>(c.b);
        row[x * 3 + 1] = static_cast<uint8_t>(c.g);
        row[x * 3 + 2] = static_cast<uint8_t>(c.r);
      }
    }
    return section.Publish(*frame);
  }
};

Producer::Producer(const std::string& sectionName) : impl_(new Impl(sectionName)) {}
Producer::~Producer() = default;

bool Producer::PublishQuadrants(int width, int height, const Colour (&quadrants)[4]) {
  return impl_->Publish(
      width, height,
      [](const void* q, int w, int h, int x, int y) {
        return static_cast<const Colour*>(q)[(y >= h / 2) * 2 + (x >= w / 2)];
      },
      quadrants);
}

bool Producer::PublishSolid(int width, int height, Colour colour) {
  return impl_->Publish(
      width, height, [](const void* c, int, int, int, int) { return *static_cast<const Colour*>(c); },
      &colour);
}

Colour ColourAt(const CapturedFrame& frame, CameraFormat format, int w, int h, int x, int y) {
  const uint8_t* f = frame.bytes.data();
  const size_t luma = static_cast<size_t>(w) * h;
  int Y = 0, U = 0, V = 0;
  switch (format) {
    case CameraFormat::kRgb24: {
      const uint8_t* p = f + static_cast<size_t>(h - 1 - y) * ((w * 3 + 3) & ~3) + x * 3;
      return {p[2], p[1], p[0]};
    }
    case CameraFormat::kYuy2: {
      const uint8_t* p = f + (static_cast<size_t>(y) * w + (x & ~1)) * 2;
      Y = p[(x & 1) * 2], U = p[1], V = p[3];
      break;
    }
    case CameraFormat::kI420:
      Y = f[y * w + x], U = f[luma + (y / 2) * (w / 2) + x / 2],
      V = f[luma + luma / 4 + (y / 2) * (w / 2) + x / 2];
      break;
    case CameraFormat::kNv12:
      Y = f[y * w + x], U = f[luma + (y / 2) * w + (x / 2) * 2], V = f[luma + (y / 2) * w + (x / 2) * 2 + 1];
      break;
  }
  const double c = 1.164 * (Y - 16), d = U - 128, e = V - 128;
  return {Clamp(c + 1.596 * e), Clamp(c - 0.392 * d - 0.813 * e), Clamp(c + 2.017 * d)};
}

bool Near(Colour a, Colour b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

bool OneColour(const CapturedFrame& frame) {
  // RGB24 rows carry no padding at the cameras' widths.
  for (size_t i = 3; i < frame.bytes.size(); ++i)
    if (frame.bytes[i] != frame.bytes[i % 3]) return false;
  return true;
}

std::string SectionNameFor(const char* purpose) {
  return std::string("VelaCameraTest-") + purpose + "-" + std::to_string(GetCurrentProcessId());
}
