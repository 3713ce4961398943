// A camera module for the registration tests: it exports the
// self-registration entry the program calls at start and answers with the
// result it was built with. Each call is made visible to the loading process through the
// environment variable VELA_TEST_CAMERA_REGISTERED, which names the module.
#include <windows.h>

#ifndef VELA_NO_REGISTER_EXPORT
extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() {
  char path[MAX_PATH] = {};
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<const char*>(&DllRegisterServer), &self);
  GetModuleFileNameA(self, path, sizeof path);
  SetEnvironmentVariableA("VELA_TEST_CAMERA_REGISTERED", path);
  return VELA_REGISTER_RESULT;
}
#else
// Built without the entry: a module that needs no registration.
extern "C" __declspec(dllexport) int TestCameraModuleVersion() {
  return 1;
}
#endif
