// Registration of the two virtual-camera modules beside the program: each is
// loaded, its self-registration entry "DllRegisterServer" is called, and it is
// freed again. Failures are reported as the user's message texts through an
// injectable reporter (a message box owned by the main window in the program).
#pragma once
#include <windows.h>

#include <functional>
#include <string>

// Receives the text of one failure message.
using RegistrationReport = std::function<void(const std::string& text)>;

// The landscape module first, then the portrait one.
inline constexpr const char* kCameraModuleNames[] = {"lmcam_horizontal.dll", "lmcam_vertical.dll"};

// Shows each failure in an OK-only message box with an empty caption, owned by `owner`.
RegistrationReport MessageBoxReport(HWND owner);

// Registers the module at `path`. Returns 1 when the module is present and
// registered (also when it has no registration entry), else 0 after one
// report: path + "缺失" for a missing file, path + " 注册失败" for a file that
// does not load or whose entry returns a failure code.
int RegisterCameraModule(const std::string& path, const RegistrationReport& report);

// Registers both camera modules found in `folder` (with a trailing backslash),
// in the order of kCameraModuleNames; a failure does not stop the other.
void RegisterCameraModules(const std::string& folder, const RegistrationReport& report);
