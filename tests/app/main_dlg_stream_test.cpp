// End to end through the main dialog: a click on connect, over the fake adb's
// forward, to a phone simulator; the cameras' side (the section reader, in its
// own process) then finds the simulator's 1280 x 720 picture with its four
// corner colours; a second click disconnects and the window narrows again.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <string>

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

// Runs the section reader on "LumoraFileMapping"; true when it saved a whole picture.
bool SaveSectionAsPng(const std::string& png) {
  std::string exe = WinePath(SECTION_READER_PATH);
  std::string cmd = "\"" + exe + "\" --png \"" + png + "\"";
  STARTUPINFOA si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &si, &pi))
    return false;
  UniqueHandle process(pi.hProcess), thread(pi.hThread);
  DWORD code = 1;
  if (WaitForSingleObject(process.get(), 20000) != WAIT_OBJECT_0) TerminateProcess(process.get(), 1);
  GetExitCodeProcess(process.get(), &code);
  return code == 0;
}

int WindowWidth(HWND window) {
  RECT rc;
  GetWindowRect(window, &rc);
  return rc.right - rc.left;
}

TEST(MainDialogStream, ConnectPublishesTheSimulatorsPictureAndDisconnectNarrowsTheWindow) {
  WSADATA wsa;  // the program's entry starts Winsock; here the test does
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
  FakeAdbFolder adb;
  adb.SetScenario(ScenarioLine("devices", "List of devices attached\r\nSIM0001\tdevice\r\n") +
                  ScenarioLine("model SIM0001", "[ro.product.model]: [Simulator]\r\n"));
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
    const std::string png = adb.folder() + "section.png";
    ASSERT_TRUE(PumpUntil([&] { return SaveSectionAsPng(png); }, 20000));

    std::wstring widePng(png.begin(), png.end());
    Gdiplus::GpBitmap* raw = nullptr;
    ASSERT_EQ(Gdiplus::DllExports::GdipCreateBitmapFromFile(widePng.c_str(), &raw), Gdiplus::Ok);
    GpBitmapPtr picture(raw);
    UINT width = 0, height = 0;
    Gdiplus::DllExports::GdipGetImageWidth(picture.get(), &width);
    Gdiplus::DllExports::GdipGetImageHeight(picture.get(), &height);
    ASSERT_EQ(width, 1280u);
    ASSERT_EQ(height, 720u);
    const struct {
      int corner;
      INT x, y;
    } corners[] = {
        {kTopLeft, 40, 40}, {kTopRight, 1240, 40}, {kBottomLeft, 40, 680}, {kBottomRight, 1240, 680}};
    for (const auto& c : corners) {
      Gdiplus::ARGB argb = 0;
      Gdiplus::DllExports::GdipBitmapGetPixel(picture.get(), c.x, c.y, &argb);
      Rgb rgb{static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8), static_cast<uint8_t>(argb)};
      EXPECT_EQ(ClassifyCornerColour(rgb), c.corner) << CornerColourName(c.corner);
    }

    dlg.SendMessage(WM_COMMAND, CMainDlg::kConnectId, 0);
    EXPECT_TRUE(PumpUntil([&] { return WindowWidth(dlg) == 730; }, 5000));
    dlg.DestroyWindow();
  }
  AppModule().RemoveMessageLoop();
  WSACleanup();
}

}  // namespace
