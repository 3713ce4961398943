// The class factory that DllGetClassObject hands out: it makes the camera
// filter of the module's profile.
#include <new>

#include "camera/camera_filter.h"
#include "camera/module_server.h"

namespace {

class CameraClassFactory final : public IClassFactory {
 public:
  explicit CameraClassFactory(const CameraProfile& profile) : profile_(profile) { ModuleLock(); }
  ~CameraClassFactory() { ModuleUnlock(); }
  CameraClassFactory(const CameraClassFactory&) = delete;
  CameraClassFactory& operator=(const CameraClassFactory&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return left;
  }

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    return CreateCameraFilter(profile_, outer, riid, object);
  }
  // A client's lock keeps the module loaded like a live object does.
  STDMETHODIMP LockServer(BOOL lock) override {
    lock ? ModuleLock() : ModuleUnlock();
    return S_OK;
  }

 private:
  const CameraProfile& profile_;
  LONG refs_ = 1;
};

}  // namespace

HRESULT GetCameraClassObject(const CameraProfile& profile, REFCLSID clsid, REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!IsEqualCLSID(clsid, profile.clsid)) return CLASS_E_CLASSNOTAVAILABLE;
  auto* factory = new (std::nothrow) CameraClassFactory(profile);
  if (!factory) return E_OUTOFMEMORY;
  HRESULT result = factory->QueryInterface(riid, object);
  factory->Release();
  return result;
}
