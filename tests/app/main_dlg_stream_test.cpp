// End to end through the main dialog: a click on connect, over the fake adb's
// forward, to a phone simulator; the cameras' side (the section reader, in its
// own process) then finds the simulator's picture with its four corner
// colours: 1280 x 720 upright, 720 x 1280 turned after the mode button, and
// mirrored or flipped after each mirror button. A streaming application (the
// camera viewer, through DirectShow) sees the same picture from the landscape
// camera, and the turned one from the portrait camera. A second click on
// connect disconnects and the window narrows again.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <algorithm>
#include <string>

#include "app/camera_registration.h"
#include "app/main_dlg.h"
#include "framework/handles.h"
#include "framework/message_loop.h"
#include "tests/support/fake_adb_fixture.h"
#include "tests/support/pump.h"
#include "tests/support/temp_folder.h"
#include "tools/phone_simulator/test_pattern.h"
#include "widgets/gdiplus_owners.h"

namespace {

using namespace test_pattern;

// What a camera sees: the size and the corner colours (top left, top right,
// bottom left, bottom right) of the picture in "LumoraFileMapping".
struct CameraView {
  UINT width = 0, height = 0;
  int corners[4] = {kNoCorner, kNoCorner, kNoCorner, kNoCorner};
  bool Is(UINT w, UINT h, const int (&expected)[4]) const {
    return width == w && height == h && std::equal(corners, corners + 4, expected);
  }
};

std::string Describe(const CameraView& view) {
  std::string text = std::to_string(view.width) + "x" + std::to_string(view.height);
  for (int corner : view.corners) text += std::string(" ") + CornerColourName(corner);
  return text;
}

// Runs a tool of the build in its own process; true when it exits with 0.
bool RunTool(std::wstring command) {
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &si, &pi))
    return false;
  UniqueHandle process(pi.hProcess), thread(pi.hThread);
  DWORD code = 1;
  if (WaitForSingleObject(process.get(), 30000) != WAIT_OBJECT_0) TerminateProcess(process.get(), 1);
  GetExitCodeProcess(process.get(), &code);
  return code == 0;
}

std::wstring Wide(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

CameraView ReadPng(const std::string& png) {
  CameraView view;
  std::wstring widePng = Wide(png);
  Gdiplus::GpBitmap* raw = nullptr;
  if (Gdiplus::DllExports::GdipCreateBitmapFromFile(widePng.c_str(), &raw) != Gdiplus::Ok) return view;
  GpBitmapPtr picture(raw);
  Gdiplus::DllExports::GdipGetImageWidth(picture.get(), &view.width);
  Gdiplus::DllExports::GdipGetImageHeight(picture.get(), &view.height);
  // The middle of each corner patch (a quarter of the picture each way).
  const INT low[2] = {static_cast<INT>(view.width / 8), static_cast<INT>(view.height / 8)};
  const INT high[2] = {static_cast<INT>(view.width - 1 - view.width / 8),
                       static_cast<INT>(view.height - 1 - view.height / 8)};
  const INT xs[4] = {low[0], high[0], low[0], high[0]}, ys[4] = {low[1], low[1], high[1], high[1]};
  for (int i = 0; i < 4; ++i) {
    Gdiplus::ARGB argb = 0;
    Gdiplus::DllExports::GdipBitmapGetPixel(picture.get(), xs[i], ys[i], &argb);
    view.corners[i] = ClassifyCornerColour(
        {static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8), static_cast<uint8_t>(argb)});
  }
  return view;
}

// What "LumoraFileMapping" holds, saved by the section reader.
CameraView ReadSection(const std::string& png) {
  const std::wstring tool = Wide(WinePath(SECTION_READER_PATH));
  if (!RunTool(L"\"" + tool + L"\" --png \"" + Wide(png) + L"\"")) return {};
  return ReadPng(png);
}

// What a streaming application gets from `camera`: the viewer's last frame.
CameraView ReadCamera(const wchar_t* camera, const std::string& png) {
  const std::wstring tool = Wide(WinePath(CAMERA_VIEWER_PATH));
  if (!RunTool(L"\"" + tool + L"\" --camera \"" + camera + L"\" --frames 5 --png \"" + Wide(png) + L"\""))
    return {};
  return ReadPng(png);
}

int WindowWidth(HWND window) {
  RECT rc;
  GetWindowRect(window, &rc);
  return rc.right - rc.left;
}

TEST(MainDialogStream, TheCamerasSeeTheSimulatorsPictureTurnedAndMirroredAsTheButtonsSay) {
  WSADATA wsa;  // the program's entry starts Winsock; here the test does
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
  FakeAdbFolder adb;
  adb.SetScenario(ScenarioLine("devices", "List of devices attached\r\nSIM0001\tdevice\r\n") +
                  ScenarioLine("model SIM0001", "[ro.product.model]: [Simulator]\r\n"));
  // The cameras as installed: registered from the build's module folder (the
  // dialog's own start-up looks in the test's program folder, which has none).
  RegisterCameraModules(WinePath(CAMERA_MODULE_FOLDER), [](const std::string&) {});
  CMessageLoop loop;
  AppModule().AddMessageLoop(&loop);
  {
    CMainDlg dlg;
    std::string told;
    dlg.SetUserMessage([&](const std::string& text, const std::string&) { told += text + "\n"; });
    ASSERT_TRUE(dlg.Create(nullptr));
    dlg.ShowWindow(SW_SHOWNOACTIVATE);
    dlg.worker().SetEndpoint("127.0.0.1", MAIN_DIALOG_SIMULATOR_PORT);
    ASSERT_TRUE(PumpUntil([&] { return dlg.deviceBox().GetText() == "Simulator"; }, 20000));

    dlg.SendMessage(WM_COMMAND, CMainDlg::kConnectId, 0);
    ASSERT_TRUE(PumpUntil([&] { return WindowWidth(dlg) == 1080; }, 20000)) << told;

    // One connection; each click changes the pictures from the next one on,
    // so each step waits (bounded) until the cameras see the new picture.
    const std::string png = adb.folder() + "section.png", framePng = adb.folder() + "camera.png";
    const struct {
      int command;  // 0: none, the picture as connected
      UINT width, height;
      int corners[4];
      const wchar_t* camera;  // the camera that carries this picture, read as an application does
    } steps[] = {
        {0, 1280, 720, {kTopLeft, kTopRight, kBottomLeft, kBottomRight}, L"Vela直播助手（横屏）"},
        // Turned a quarter clockwise: the phone's left edge is now the top.
        {CMainDlg::kModeId,
         720,
         1280,
         {kBottomLeft, kTopLeft, kBottomRight, kTopRight},
         L"Vela直播助手（竖屏）"},
        // Left and right swap.
        {CMainDlg::kMirrorHId, 720, 1280, {kTopLeft, kBottomLeft, kTopRight, kBottomRight}, nullptr},
        // Top and bottom swap.
        {CMainDlg::kMirrorVId, 720, 1280, {kTopRight, kBottomRight, kTopLeft, kBottomLeft}, nullptr},
    };
    for (const auto& step : steps) {
      if (step.command) dlg.SendMessage(WM_COMMAND, step.command, 0);
      CameraView seen;
      EXPECT_TRUE(PumpUntil(
          [&] { return (seen = ReadSection(png)).Is(step.width, step.height, step.corners); }, 20000))
          << "after command " << step.command << " the section holds " << Describe(seen);
      if (!step.camera) continue;
      EXPECT_TRUE(PumpUntil(
          [&] {
            return (seen = ReadCamera(step.camera, framePng)).Is(step.width, step.height, step.corners);
          },
          30000))
          << "after command " << step.command << " the camera shows " << Describe(seen);
    }

    dlg.SendMessage(WM_COMMAND, CMainDlg::kConnectId, 0);
    EXPECT_TRUE(PumpUntil([&] { return WindowWidth(dlg) == 730; }, 5000));
    dlg.DestroyWindow();
  }
  AppModule().RemoveMessageLoop();
  WSACleanup();
}

}  // namespace
