#include "app/app_entry.h"

#include <commctrl.h>
#include <objbase.h>
#include <winsock2.h>
#include "framework/gdiplus_api.h"

#include <memory>

#include "app/main_dlg.h"
#include "config/core/app_globals.h"
#include "framework/message_loop.h"

extern "C" {
#include <libavutil/log.h>
}

namespace {

// Records the program folder, creates the modeless main dialog and runs the
// loop until WM_QUIT.
int Run(int showCommand) {
  CMessageLoop loop;
  AppModule().AddMessageLoop(&loop);

  char path[1000] = {};
  ::GetModuleFileNameA(nullptr, path, sizeof path);
  ProgramFolder = FolderOfPath(path);

  int exitCode = 0;
  {
    auto dialog = std::make_unique<CMainDlg>();
    if (dialog->Create(nullptr)) {
      dialog->ShowWindow(showCommand);
      exitCode = loop.Run();
    }
  }
  AppModule().RemoveMessageLoop();
  return exitCode;
}

}  // namespace

int RunApplication(HINSTANCE instance, int showCommand) {
  // FFmpeg reports every damaged or cut piece of the phone's stream on the
  // standard error, which no user sees; the decoder deals with them.
  av_log_set_level(AV_LOG_QUIET);
  ::CoInitialize(nullptr);
  // Loads the user-interface library before the common controls.
  ::DefWindowProcA(nullptr, 0, 0, 0);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  Gdiplus::GdiplusStartupInput gdiplusInput;
  ULONG_PTR gdiplusToken = 0;
  Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);
  // FFmpeg 5 registers its codecs by itself.
  WSADATA wsa;
  ::WSAStartup(MAKEWORD(2, 2), &wsa);
  AppModule().Init(instance);

  int exitCode = Run(showCommand);

  AppModule().Term();
  ::CoUninitialize();
  ::WSACleanup();
  Gdiplus::GdiplusShutdown(gdiplusToken);
  return exitCode;
}
