// The camera filter's one output pin, "Capture": it offers the camera's
// media types, connects to a downstream input pin with the downstream
// allocator, answers the capture pin category (IKsPropertySet) and the
// stream configuration applications query (IAMStreamConfig). Its reference
// count is the filter's: the pin lives exactly as long as the filter.
#pragma once
#include <windows.h>

#include <dshow.h>

#include "camera/filter_com.h"
#include "camera/filter_media_types.h"
#include "framework/critical_section.h"

// What the pin needs of its filter.
class PinOwner {
 public:
  virtual IBaseFilter* Filter() = 0;  // no reference added
  virtual CriticalSection& Lock() = 0;
  virtual bool IsStopped() = 0;

 protected:
  ~PinOwner() = default;
};

class OutputPin : public IPin, public IKsPropertySet, public IAMStreamConfig {
 public:
  OutputPin(PinOwner& owner, int width, int height) : owner_(owner), width_(width), height_(height) {}
  ~OutputPin() { Disconnect(); }

  // What streaming needs of the connection, taken under the filter's lock.
  bool IsConnected() const { return peer_.valid(); }
  IMemAllocator* allocator() const { return allocator_.get(); }
  IMemInputPin* input() const { return input_.get(); }
  CameraFormat format() const { return format_; }

  // IUnknown (the filter's count)
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override { return owner_.Filter()->AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return owner_.Filter()->Release(); }

  // IPin
  STDMETHODIMP Connect(IPin* receiver, const AM_MEDIA_TYPE* type) override;
  STDMETHODIMP ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
  STDMETHODIMP Disconnect() override;
  STDMETHODIMP ConnectedTo(IPin** pin) override;
  STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
  STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
  STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
  STDMETHODIMP QueryId(LPWSTR* id) override;
  STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
  STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
  STDMETHODIMP QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
  STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
  STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
  STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }
  STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

  // IKsPropertySet: AMPROPERTY_PIN_CATEGORY of AMPROPSETID_Pin is PIN_CATEGORY_CAPTURE.
  STDMETHODIMP Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size, DWORD* returned) override;
  STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

  // IAMStreamConfig: one capability per offered format; SetFormat picks the
  // only type of the next connection, and reconnects a connected pin.
  STDMETHODIMP SetFormat(AM_MEDIA_TYPE* type) override;
  STDMETHODIMP GetFormat(AM_MEDIA_TYPE** type) override;
  STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override;
  STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) override;

 private:
  HRESULT TryConnect(IPin* receiver, CameraFormat format);
  HRESULT DecideAllocator(IMemInputPin* input, CameraFormat format, IMemAllocator** chosen);

  PinOwner& owner_;
  const int width_;
  const int height_;
  // Guarded by the filter's lock.
  ComRef<IPin> peer_;
  ComRef<IMemInputPin> input_;
  ComRef<IMemAllocator> allocator_;
  MediaType connected_;
  CameraFormat format_ = CameraFormat::kYuy2;
  bool hasPreferred_ = false;  // SetFormat was called
  CameraFormat preferred_ = CameraFormat::kYuy2;
};
