#include "camera/filter_output_pin.h"

#include <cstring>

#include "camera/filter_enumerators.h"

namespace {

constexpr wchar_t kPinName[] = L"Capture";
constexpr long kBufferCount = 3;

}  // namespace

STDMETHODIMP OutputPin::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IPin)
    *object = static_cast<IPin*>(this);
  else if (riid == IID_IKsPropertySet)
    *object = static_cast<IKsPropertySet*>(this);
  else if (riid == IID_IAMStreamConfig)
    *object = static_cast<IAMStreamConfig*>(this);
  else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP OutputPin::Connect(IPin* receiver, const AM_MEDIA_TYPE* type) {
  if (!receiver) return E_POINTER;
  ScopedLock hold(owner_.Lock());
  if (peer_) return VFW_E_ALREADY_CONNECTED;
  if (!owner_.IsStopped()) return VFW_E_NOT_STOPPED;
  // Only the format SetFormat chose, else each in offer order; only those
  // the (possibly partial) requested type allows.
  CameraFormat order[kOfferedFormatCount];
  int count = 0;
  if (hasPreferred_) order[count++] = preferred_;
  for (CameraFormat offered : kOfferedFormats)
    if (!hasPreferred_) order[count++] = offered;
  HRESULT last = VFW_E_NO_ACCEPTABLE_TYPES;
  for (int i = 0; i < count; ++i) {
    if (type && !TypeAllows(*type, order[i], width_, height_)) continue;
    last = TryConnect(receiver, order[i]);
    if (SUCCEEDED(last)) return S_OK;
  }
  return last;
}

HRESULT OutputPin::TryConnect(IPin* receiver, CameraFormat format) {
  MediaType type;
  if (!MakeMediaType(format, width_, height_, type.get())) return E_OUTOFMEMORY;
  HRESULT hr = receiver->ReceiveConnection(this, &type.get());
  if (FAILED(hr)) return hr;
  IMemInputPin* rawInput = nullptr;
  hr = receiver->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&rawInput));
  ComRef<IMemInputPin> input(rawInput);
  IMemAllocator* rawAllocator = nullptr;
  if (SUCCEEDED(hr)) hr = DecideAllocator(input.get(), format, &rawAllocator);
  ComRef<IMemAllocator> allocator(rawAllocator);
  if (FAILED(hr)) {
    receiver->Disconnect();
    return hr;
  }
  peer_ = AddRefed(receiver);
  input_ = std::move(input);
  allocator_ = std::move(allocator);
  connected_.clear();
  connected_.get() = type.get();
  type.get() = AM_MEDIA_TYPE{};  // ownership moved
  format_ = format;
  return S_OK;
}

// The downstream allocator when it offers one, else a memory allocator of
// ours; room for a few whole frames either way.
HRESULT OutputPin::DecideAllocator(IMemInputPin* input, CameraFormat format, IMemAllocator** chosen) {
  ALLOCATOR_PROPERTIES wanted{};
  input->GetAllocatorRequirements(&wanted);
  const long bytes = static_cast<long>(CameraFrameBytes(format, width_, height_));
  IMemAllocator* allocator = nullptr;
  HRESULT hr = input->GetAllocator(&allocator);
  if (FAILED(hr) || !allocator) {
    hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                          reinterpret_cast<void**>(&allocator));
    if (FAILED(hr)) return hr;
  }
  ComRef<IMemAllocator> owned(allocator);
  wanted.cBuffers = wanted.cBuffers > kBufferCount ? wanted.cBuffers : kBufferCount;
  wanted.cbBuffer = wanted.cbBuffer > bytes ? wanted.cbBuffer : bytes;
  if (wanted.cbAlign < 1) wanted.cbAlign = 1;
  ALLOCATOR_PROPERTIES actual{};
  hr = owned->SetProperties(&wanted, &actual);
  if (FAILED(hr)) return hr;
  if (actual.cbBuffer < bytes) return VFW_E_BUFFER_OVERFLOW;
  hr = input->NotifyAllocator(owned.get(), FALSE);
  if (FAILED(hr)) return hr;
  *chosen = owned.release();
  return S_OK;
}

STDMETHODIMP OutputPin::Disconnect() {
  ScopedLock hold(owner_.Lock());
  if (!owner_.IsStopped()) return VFW_E_NOT_STOPPED;
  if (!peer_) return S_FALSE;
  peer_.reset();
  input_.reset();
  allocator_.reset();
  connected_.clear();
  return S_OK;
}

STDMETHODIMP OutputPin::ConnectedTo(IPin** pin) {
  if (!pin) return E_POINTER;
  ScopedLock hold(owner_.Lock());
  *pin = AddRefed(peer_.get()).release();
  return *pin ? S_OK : VFW_E_NOT_CONNECTED;
}

STDMETHODIMP OutputPin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
  if (!type) return E_POINTER;
  ScopedLock hold(owner_.Lock());
  if (!peer_) {
    std::memset(type, 0, sizeof(*type));
    return VFW_E_NOT_CONNECTED;
  }
  return CopyMediaType(connected_.get(), *type) ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP OutputPin::QueryPinInfo(PIN_INFO* info) {
  if (!info) return E_POINTER;
  info->pFilter = owner_.Filter();
  info->pFilter->AddRef();
  info->dir = PINDIR_OUTPUT;
  wcsncpy(info->achName, kPinName, MAX_PIN_NAME);
  return S_OK;
}

STDMETHODIMP OutputPin::QueryDirection(PIN_DIRECTION* direction) {
  if (!direction) return E_POINTER;
  *direction = PINDIR_OUTPUT;
  return S_OK;
}

STDMETHODIMP OutputPin::QueryId(LPWSTR* id) {
  if (!id) return E_POINTER;
  *id = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof(kPinName)));
  if (!*id) return E_OUTOFMEMORY;
  std::memcpy(*id, kPinName, sizeof(kPinName));
  return S_OK;
}

STDMETHODIMP OutputPin::QueryAccept(const AM_MEDIA_TYPE* type) {
  if (!type) return E_POINTER;
  CameraFormat format;
  return IsCompleteType(*type) && FindOfferedFormat(*type, width_, height_, format) ? S_OK : S_FALSE;
}

STDMETHODIMP OutputPin::EnumMediaTypes(IEnumMediaTypes** types) {
  return CreateMediaTypeEnumerator(width_, height_, 0, types);
}

STDMETHODIMP OutputPin::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size, DWORD* returned) {
  if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
  if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
  if (returned) *returned = sizeof(GUID);
  if (!data) return returned ? S_OK : E_POINTER;
  if (size < sizeof(GUID)) return E_UNEXPECTED;
  *static_cast<GUID*>(data) = PIN_CATEGORY_CAPTURE;
  return S_OK;
}

STDMETHODIMP OutputPin::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
  if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
  if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
  if (support) *support = KSPROPERTY_SUPPORT_GET;
  return S_OK;
}

STDMETHODIMP OutputPin::SetFormat(AM_MEDIA_TYPE* type) {
  if (!type) return E_POINTER;
  CameraFormat format;
  if (!IsCompleteType(*type) || !FindOfferedFormat(*type, width_, height_, format))
    return VFW_E_INVALIDMEDIATYPE;
  ScopedLock hold(owner_.Lock());
  if (!owner_.IsStopped()) return VFW_E_NOT_STOPPED;
  // Connected already: reconnect the same peer in the new format when it
  // takes it, so the change holds from the next run.
  if (peer_ && format != format_) {
    MediaType wanted;
    if (!MakeMediaType(format, width_, height_, wanted.get())) return E_OUTOFMEMORY;
    if (peer_->QueryAccept(&wanted.get()) != S_OK) return VFW_E_INVALIDMEDIATYPE;
    ComRef<IPin> peer = std::move(peer_);
    const CameraFormat previous = format_;
    peer->Disconnect();
    input_.reset();
    allocator_.reset();
    connected_.clear();
    const HRESULT hr = TryConnect(peer.get(), format);
    if (FAILED(hr)) {
      TryConnect(peer.get(), previous);
      return hr;
    }
  }
  hasPreferred_ = true;
  preferred_ = format;
  return S_OK;
}

STDMETHODIMP OutputPin::GetFormat(AM_MEDIA_TYPE** type) {
  if (!type) return E_POINTER;
  ScopedLock hold(owner_.Lock());
  const CameraFormat format = peer_ ? format_ : hasPreferred_ ? preferred_ : kOfferedFormats[0];
  *type = NewMediaType(format, width_, height_);
  return *type ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP OutputPin::GetNumberOfCapabilities(int* count, int* size) {
  if (!count || !size) return E_POINTER;
  *count = kOfferedFormatCount;
  *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
  return S_OK;
}

STDMETHODIMP OutputPin::GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) {
  if (!type || !caps) return E_POINTER;
  if (index < 0 || index >= kOfferedFormatCount) return S_FALSE;
  *type = NewMediaType(kOfferedFormats[index], width_, height_);
  if (!*type) return E_OUTOFMEMORY;
  // One fixed size and rate per format.
  VIDEO_STREAM_CONFIG_CAPS config{};
  config.guid = FORMAT_VideoInfo;
  config.InputSize = config.MinCroppingSize = config.MaxCroppingSize = {width_, height_};
  config.CropGranularityX = config.CropGranularityY = 1;
  config.CropAlignX = config.CropAlignY = 1;
  config.MinOutputSize = config.MaxOutputSize = {width_, height_};
  config.OutputGranularityX = config.OutputGranularityY = 1;
  config.MinFrameInterval = config.MaxFrameInterval = kFrameInterval;
  const LONG bits = static_cast<LONG>(CameraFrameBytes(kOfferedFormats[index], width_, height_) * 8 * 30);
  config.MinBitsPerSecond = config.MaxBitsPerSecond = bits;
  std::memcpy(caps, &config, sizeof(config));
  return S_OK;
}
