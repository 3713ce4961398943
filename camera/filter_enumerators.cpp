#include "camera/filter_enumerators.h"

#include <new>

#include "camera/camera_filter.h"
#include "camera/filter_media_types.h"

namespace {

// The COM plumbing both enumerators share: IUnknown for one interface, a
// position over `count` items, Skip, Reset and the module lock.
template <class Interface>
class EnumeratorBase : public Interface {
 public:
  EnumeratorBase(ULONG count, ULONG position)
      : count_(count), position_(position < count ? position : count) {
    ModuleLock();
  }
  virtual ~EnumeratorBase() { ModuleUnlock(); }

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == __uuidof(Interface)) {
      *object = static_cast<Interface*>(this);
      this->AddRef();
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
  STDMETHODIMP Skip(ULONG count) override {
    const ULONG left = count_ - position_;
    position_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    position_ = 0;
    return S_OK;
  }

 protected:
  const ULONG count_;
  ULONG position_;

 private:
  LONG references_ = 1;
};

class PinEnumerator : public EnumeratorBase<IEnumPins> {
 public:
  PinEnumerator(IPin* pin, ULONG position) : EnumeratorBase(1, position), pin_(pin) { pin_->AddRef(); }
  ~PinEnumerator() override { pin_->Release(); }

  STDMETHODIMP Next(ULONG wanted, IPin** pins, ULONG* fetched) override {
    if (!pins || (wanted > 1 && !fetched)) return E_POINTER;
    ULONG got = 0;
    while (got < wanted && position_ < count_) {
      pins[got++] = pin_;
      pin_->AddRef();
      ++position_;
    }
    if (fetched) *fetched = got;
    return got == wanted ? S_OK : S_FALSE;
  }
  STDMETHODIMP Clone(IEnumPins** out) override { return CreatePinEnumerator(pin_, position_, out); }

 private:
  IPin* pin_;
};

class MediaTypeEnumerator : public EnumeratorBase<IEnumMediaTypes> {
 public:
  MediaTypeEnumerator(int width, int height, ULONG position)
      : EnumeratorBase(kOfferedFormatCount, position), width_(width), height_(height) {}

  STDMETHODIMP Next(ULONG wanted, AM_MEDIA_TYPE** types, ULONG* fetched) override {
    if (!types || (wanted > 1 && !fetched)) return E_POINTER;
    ULONG got = 0;
    while (got < wanted && position_ < count_) {
      types[got] = NewMediaType(kOfferedFormats[position_], width_, height_);
      if (!types[got]) break;
      ++got;
      ++position_;
    }
    if (fetched) *fetched = got;
    return got == wanted ? S_OK : S_FALSE;
  }
  STDMETHODIMP Clone(IEnumMediaTypes** out) override {
    return CreateMediaTypeEnumerator(width_, height_, position_, out);
  }

 private:
  const int width_;
  const int height_;
};

}  // namespace

HRESULT CreatePinEnumerator(IPin* pin, ULONG position, IEnumPins** out) {
  if (!out) return E_POINTER;
  *out = new (std::nothrow) PinEnumerator(pin, position);
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT CreateMediaTypeEnumerator(int width, int height, ULONG position, IEnumMediaTypes** out) {
  if (!out) return E_POINTER;
  *out = new (std::nothrow) MediaTypeEnumerator(width, height, position);
  return *out ? S_OK : E_OUTOFMEMORY;
}
