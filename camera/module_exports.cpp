// The four entries of a camera module file (module.def exports them). The
// build compiles this file once per module with VELA_CAMERA_PROFILE naming
// the camera that module serves.
#include <olectl.h>

#include "camera/camera_filter.h"
#include "camera/module_server.h"

#ifndef VELA_CAMERA_PROFILE
#error "build a camera module with VELA_CAMERA_PROFILE=kLandscapeCamera or kPortraitCamera"
#endif

namespace {

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* object) {
  return GetCameraClassObject(VELA_CAMERA_PROFILE, clsid, riid, object);
}

STDAPI DllCanUnloadNow() {
  return ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
  return RegisterCameraServer(VELA_CAMERA_PROFILE, ThisModule());
}

STDAPI DllUnregisterServer() {
  return UnregisterCameraServer(VELA_CAMERA_PROFILE);
}
