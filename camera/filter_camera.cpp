#include "camera/filter_camera.h"

#include <cstring>

#include "camera/camera_filter.h"
#include "camera/filter_enumerators.h"

CameraFilter::CameraFilter(const CameraProfile& profile, std::string sectionName)
    : profile_(profile),
      pin_(*this, profile.width, profile.height),
      streamer_(std::move(sectionName), profile.width, profile.height) {
  ModuleLock();
}

CameraFilter::~CameraFilter() {
  streamer_.Stop();
  ModuleUnlock();
}

STDMETHODIMP CameraFilter::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IPersist || riid == IID_IMediaFilter || riid == IID_IBaseFilter)
    *object = static_cast<IBaseFilter*>(this);
  else if (riid == IID_IAMFilterMiscFlags)
    *object = static_cast<IAMFilterMiscFlags*>(this);
  else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CameraFilter::AddRef() {
  return InterlockedIncrement(&references_);
}

STDMETHODIMP_(ULONG) CameraFilter::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP CameraFilter::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = profile_.clsid;
  return S_OK;
}

STDMETHODIMP CameraFilter::Stop() {
  // Joins the thread and decommits the allocator before the pin may be
  // disconnected and its allocator released. Outside the filter's lock: a
  // downstream filter inside Receive may still call into this filter.
  streamer_.Stop();
  ScopedLock hold(lock_);
  state_ = State_Stopped;
  return S_OK;
}

STDMETHODIMP CameraFilter::Pause() {
  ScopedLock hold(lock_);
  if (state_ == State_Stopped && pin_.IsConnected()) {
    const HRESULT hr = streamer_.Start(pin_.allocator(), pin_.input(), pin_.format());
    if (FAILED(hr)) return hr;
  } else if (state_ == State_Running) {
    streamer_.Pause();
  }
  state_ = State_Paused;
  // A live source cannot cue a frame while paused.
  return VFW_S_CANT_CUE;
}

STDMETHODIMP CameraFilter::Run(REFERENCE_TIME start) {
  ScopedLock hold(lock_);
  if (state_ == State_Stopped) {
    const HRESULT hr = Pause();
    if (FAILED(hr)) return hr;
  }
  if (pin_.IsConnected()) streamer_.Run(clock_.get(), start);
  state_ = State_Running;
  return S_OK;
}

STDMETHODIMP CameraFilter::GetState(DWORD, FILTER_STATE* state) {
  if (!state) return E_POINTER;
  ScopedLock hold(lock_);
  *state = state_;
  return state_ == State_Paused ? VFW_S_CANT_CUE : S_OK;
}

STDMETHODIMP CameraFilter::SetSyncSource(IReferenceClock* clock) {
  ScopedLock hold(lock_);
  clock_ = AddRefed(clock);
  return S_OK;
}

STDMETHODIMP CameraFilter::GetSyncSource(IReferenceClock** clock) {
  if (!clock) return E_POINTER;
  ScopedLock hold(lock_);
  *clock = AddRefed(clock_.get()).release();
  return S_OK;
}

STDMETHODIMP CameraFilter::EnumPins(IEnumPins** pins) {
  return CreatePinEnumerator(&pin_, 0, pins);
}

STDMETHODIMP CameraFilter::FindPin(LPCWSTR id, IPin** pin) {
  if (!id || !pin) return E_POINTER;
  if (wcscmp(id, L"Capture") != 0) {
    *pin = nullptr;
    return VFW_E_NOT_FOUND;
  }
  *pin = &pin_;
  pin_.AddRef();
  return S_OK;
}

STDMETHODIMP CameraFilter::QueryFilterInfo(FILTER_INFO* info) {
  if (!info) return E_POINTER;
  ScopedLock hold(lock_);
  const std::wstring& name = name_.empty() ? std::wstring(profile_.friendlyName) : name_;
  std::memset(info->achName, 0, sizeof(info->achName));
  wcsncpy(info->achName, name.c_str(), MAX_FILTER_NAME - 1);
  info->pGraph = graph_;
  if (graph_) graph_->AddRef();
  return S_OK;
}

STDMETHODIMP CameraFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
  ScopedLock hold(lock_);
  graph_ = graph;
  name_ = name ? name : L"";
  return S_OK;
}
