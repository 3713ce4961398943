#include "app/camera_registration.h"

#include "framework/handles.h"

namespace {
constexpr const char* kMissingSuffix = "缺失";
constexpr const char* kFailedSuffix = " 注册失败";

using RegisterServerFn = HRESULT(STDAPICALLTYPE*)();
}  // namespace

RegistrationReport MessageBoxReport(HWND owner) {
  return [owner](const std::string& text) { ::MessageBoxA(owner, text.c_str(), "", MB_OK); };
}

int RegisterCameraModule(const std::string& path, const RegistrationReport& report) {
  if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    report(path + kMissingSuffix);
    return 0;
  }
  // A file that is no loadable module fails quietly here, without the
  // system's own error box (for this thread only), and is reported once below.
  DWORD oldMode = 0;
  ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
  UniqueModule module(::LoadLibraryA(path.c_str()));
  ::SetThreadErrorMode(oldMode, nullptr);
  if (!module) {
    report(path + kFailedSuffix);
    return 0;
  }
  auto registerServer = module.Proc<RegisterServerFn>("DllRegisterServer");
  if (!registerServer) return 1;  // nothing to register
  HRESULT result = registerServer();
  module.reset();  // freed before the user sees a message
  if (FAILED(result)) {
    report(path + kFailedSuffix);
    return 0;
  }
  return 1;
}

void RegisterCameraModules(const std::string& folder, const RegistrationReport& report) {
  for (const char* name : kCameraModuleNames) RegisterCameraModule(folder + name, report);
}
