// The main dialog as the user meets it, driven through its real window
// messages: start-up with the busy overlay until the first device list, the
// three connection states and their looks, the kept device selection, the
// device-change debounce, connect without a device and the failure text.
// The scanner and the stream worker are the real ones, over the fake adb.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/main_dlg.h"
#include "config/core/app_globals.h"
#include "framework/gdi.h"
#include "framework/message_loop.h"
#include "panel/dui_ctrl.h"
#include "tests/support/fake_adb_fixture.h"
#include "tests/support/pump.h"

namespace {

using Message = std::pair<std::string, std::string>;  // text, caption

std::string Listing(const std::vector<std::pair<const char*, const char*>>& devices) {
  std::string listing = "List of devices attached\r\n", models;
  for (const auto& [serial, model] : devices) {
    listing += std::string(serial) + "\tdevice\r\n";
    models +=
        ScenarioLine(std::string("model ") + serial, std::string("[ro.product.model]: [") + model + "]\r\n");
  }
  return ScenarioLine("devices", listing) + models;
}

int WindowWidth(HWND window) {
  RECT rc;
  GetWindowRect(window, &rc);
  return rc.right - rc.left;
}

class MainDialogTest : public ::testing::Test {
 protected:
  void Open(const std::string& scenario) {
    adb.SetScenario(scenario);
    AppModule().AddMessageLoop(&loop);
    dlg.SetUserMessage([this](const std::string& text, const std::string& caption) {
      messages.emplace_back(text, caption);
    });
    ASSERT_TRUE(dlg.Create(nullptr));
    dlg.ShowWindow(SW_SHOWNOACTIVATE);
    // The busy overlay hides the connect button until the first list.
    ASSERT_TRUE(PumpUntil([&] { return dlg.connectButton().IsWindowVisible() != FALSE; }, 20000));
  }
  void TearDown() override {
    if (dlg.IsWindow()) dlg.DestroyWindow();
    AppModule().RemoveMessageLoop();
  }
  // Refreshes and waits until the box shows the new list.
  bool Refresh(const std::string& scenario) {
    adb.SetScenario(scenario);
    dlg.SendMessage(WM_COMMAND, CMainDlg::kRefreshId, 0);
    return PumpUntil([&] { return dlg.deviceBox().GetText() != "正在读取设备列表..."; }, 20000);
  }
  void Click(int id) { dlg.SendMessage(WM_COMMAND, id, 0); }

  FakeAdbFolder adb;
  CMessageLoop loop;
  CMainDlg dlg;
  std::vector<Message> messages;
};

TEST_F(MainDialogTest, StartsIdleWithTheCameraMessagesAndAnEmptyList) {
  Open("");
  RECT rc;
  dlg.GetWindowRect(&rc);
  EXPECT_EQ(rc.right - rc.left, CMainDlg::kWidth);
  EXPECT_EQ(rc.bottom - rc.top, CMainDlg::kHeight);
  EXPECT_EQ(dlg.GetStyle() & WS_CAPTION, 0u);
  EXPECT_NE(dlg.GetStyle() & WS_CLIPCHILDREN, 0u);
  char title[32] = {};
  ::GetWindowTextA(dlg, title, sizeof title);
  EXPECT_STREQ(title, "Vela直播助手");
  RegionHandle region(CreateRectRgn(0, 0, 0, 0));  // rounded corners
  ASSERT_NE(GetWindowRgn(dlg, region.get()), ERROR);
  EXPECT_FALSE(PtInRegion(region.get(), 0, 0));
  // White client in a grey frame whose corner is cut; the logo band is
  // blended at (1, 1) over white, its transparent pixels leave the white showing.
  MemoryDC mem(nullptr, CMainDlg::kWidth, CMainDlg::kHeight);
  FillSolid(mem.get(), RECT{0, 0, CMainDlg::kWidth, CMainDlg::kHeight}, RGB(0, 0, 0));
  dlg.PaintClient(mem.get(), RECT{0, 0, CMainDlg::kWidth, CMainDlg::kHeight});
  for (POINT edge :
       {POINT{365, 0}, POINT{0, 324}, POINT{CMainDlg::kWidth - 1, 324}, POINT{365, CMainDlg::kHeight - 1}})
    EXPECT_EQ(GetPixel(mem.get(), edge.x, edge.y), CMainDlg::kFrameColor) << edge.x << "," << edge.y;
  EXPECT_EQ(GetPixel(mem.get(), 365, 324), RGB(255, 255, 255));
  EXPECT_NE(GetPixel(mem.get(), 0, 0), CMainDlg::kFrameColor);
  int coloured = 0, white = 0;
  for (int y = 1; y < 69; ++y)
    for (int x = 1; x < 209; ++x) (GetPixel(mem.get(), x, y) == RGB(255, 255, 255) ? white : coloured)++;
  EXPECT_GT(coloured, 200);
  EXPECT_GT(white, 200);
  EXPECT_TRUE(dlg.SendMessage(WM_GETICON, ICON_BIG, 0));
  MONITORINFO info{sizeof info};
  GetMonitorInfoA(MonitorFromWindow(dlg, MONITOR_DEFAULTTONEAREST), &info);
  EXPECT_NEAR(rc.left - info.rcWork.left, info.rcWork.right - rc.right, 1);

  // Neither camera module is in the program folder: one message each, landscape first.
  const std::vector<Message> expected{{adb.folder() + "lmcam_horizontal.dll缺失", ""},
                                      {adb.folder() + "lmcam_vertical.dll缺失", ""}};
  EXPECT_EQ(messages, expected);
  EXPECT_EQ(dlg.deviceBox().GetText(), "未检测到设备");
  EXPECT_TRUE(IsWindowVisible(dlg.helpLink()));
  EXPECT_EQ(dlg.connectButton().GetText(), "马上连接");

  // Taken off the thread's loop once destroyed: keys no longer reach it.
  MSG esc{dlg.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001};
  dlg.DestroyWindow();
  EXPECT_FALSE(loop.PreTranslateMessage(&esc));
}

TEST_F(MainDialogTest, StreamMessagesSwitchBetweenTheIdleAndConnectedLooks) {
  Open(Listing({{"A1", "小米 13"}}));
  // The phone's first command builds the panel's root right of the preview.
  const char config[] = "<command name=\"config\"><ctrl id=\"1\" class=\"op_area\"/></command>";
  dlg.SendMessage(WM_LINK_COMMAND, 0, reinterpret_cast<LPARAM>(config));
  ASSERT_NE(dlg.panel().root(), nullptr);
  HWND panel = dlg.panel().root()->m_hWnd;
  RECT placed;
  GetWindowRect(panel, &placed);
  MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&placed), 2);
  const RECT expected{728, 68, 1078, 640};
  EXPECT_TRUE(EqualRect(&placed, &expected))
      << placed.left << "," << placed.top << "," << placed.right << "," << placed.bottom;
  const struct {
    UINT message;
    int width;
    const char* text;
    COLORREF color;
    bool connected;
  } steps[] = {
      {WM_STREAM_CONNECTED, 1080, "断开连接", RGB(0x59, 0x59, 0x59), true},
      {WM_STREAM_DISCONNECTED, 730, "马上连接", RGB(255, 255, 255), false},
  };
  for (const auto& step : steps) {
    dlg.PostMessage(step.message);
    ASSERT_TRUE(PumpUntil([&] { return WindowWidth(dlg) == step.width; }, 5000)) << step.text;
    EXPECT_EQ(dlg.connectButton().GetText(), step.text);
    EXPECT_EQ(dlg.connectButton().GetTextColor(), step.color);
    EXPECT_FALSE(dlg.connectButton().IsDisabled());
    EXPECT_EQ(dlg.deviceBox().IsWindowEnabled() != FALSE, !step.connected);
    for (int id : {CMainDlg::kModeId, CMainDlg::kMirrorHId, CMainDlg::kMirrorVId})
      EXPECT_EQ(IsWindowVisible(dlg.GetDlgItem(id)) != FALSE, step.connected) << id;
    EXPECT_EQ(IsWindowVisible(panel) != FALSE, step.connected);
  }
}

TEST_F(MainDialogTest, ConnectingSpinsAndTheConnectedPhoneStaysSelectedAcrossRefreshes) {
  AdbGate gate;
  Open(Listing({{"Z9", "Pixel 7"}, {"A1", "小米 13"}}) + gate.Directive("forward"));
  EXPECT_EQ(dlg.deviceBox().GetText(), "Pixel 7");
  EXPECT_FALSE(IsWindowVisible(dlg.helpLink()));
  dlg.deviceBox().SetCurSel(1);
  Click(CMainDlg::kConnectId);
  ASSERT_TRUE(gate.WaitReady(20000));  // the stream thread sits in the forward
  EXPECT_EQ(dlg.connectButton().GetText(), "正在连接");
  EXPECT_TRUE(dlg.connectButton().IsSpinning());
  EXPECT_TRUE(dlg.connectButton().IsDisabled());
  EXPECT_EQ(WindowWidth(dlg), 730);

  // A disconnect while adb holds the forward ends the run promptly and
  // without a failure message.
  const size_t before = messages.size();
  const DWORD start = GetTickCount();
  Click(CMainDlg::kConnectId);
  EXPECT_LT(GetTickCount() - start, 3000u);
  EXPECT_FALSE(dlg.worker().IsRunning());
  EXPECT_EQ(dlg.connectButton().GetText(), "马上连接");
  PumpMessages();
  EXPECT_EQ(messages.size(), before);

  ASSERT_TRUE(Refresh(Listing({{"X0", "Galaxy"}, {"A1", "小米 13"}, {"Z9", "Pixel 7"}})));
  EXPECT_EQ(dlg.deviceBox().GetText(), "小米 13");
  EXPECT_EQ(dlg.deviceBox().GetCurSel(), 1);
  ASSERT_TRUE(Refresh(Listing({{"Z9", "Pixel 7"}})));  // the kept phone is gone: the first one
  EXPECT_EQ(dlg.deviceBox().GetText(), "Pixel 7");
}

TEST_F(MainDialogTest, ABurstOfDeviceChangesRefreshesOnceASecondAfterTheLast) {
  Open("");
  DWORD last = 0;
  for (int i = 0; i < 5; ++i) {
    dlg.SendMessage(WM_DEVICECHANGE, 7 /* DBT_DEVNODES_CHANGED */, 0);
    last = GetTickCount();
    PumpUntil([] { return false; }, 100);
  }
  ASSERT_TRUE(PumpUntil([&] { return dlg.refreshRequests() == 1; }, 5000));
  EXPECT_GE(GetTickCount() - last, 900u);
  PumpUntil([&] { return dlg.refreshRequests() > 1; }, 1500);
  EXPECT_EQ(dlg.refreshRequests(), 1);
}

// The keyboard through the thread's real message loop and the dialog's own
// message filter: Enter is the connect button (here: no phone to connect to,
// which it says and stays idle), Escape the close button (the window goes and the loop ends with code 2).
TEST_F(MainDialogTest, EnterConnectsAndEscapeClosesTheProgram) {
  Open("");
  constexpr int kStillRunning = 99;  // the code of the quit the test posts itself
  const struct {
    WPARAM key;
    std::vector<Message> told;
    bool closes;
  } keys[] = {
      {VK_RETURN, {{"无可用设备，请刷新设备列表", "无可用设备"}}, false},
      {VK_ESCAPE, {}, true},
  };
  for (const auto& key : keys) {
    messages.clear();
    dlg.PostMessage(WM_KEYDOWN, key.key, 0x00010001);
    if (!key.closes) PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, kStillRunning, 0);
    // A key that should close and does not ends the loop after a generous bound.
    const UINT_PTR bound =
        SetTimer(nullptr, 0, 20000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(kStillRunning); });
    const int code = loop.Run();
    KillTimer(nullptr, bound);
    EXPECT_EQ(code, key.closes ? 2 : kStillRunning) << key.key;  // 2: the program's exit code after a close
    EXPECT_EQ(dlg.IsWindow() == FALSE, key.closes) << key.key;
    EXPECT_EQ(messages, key.told) << key.key;
    if (key.closes) continue;
    EXPECT_EQ(dlg.connectButton().GetText(), "马上连接");
    EXPECT_FALSE(dlg.connectButton().IsSpinning());
    EXPECT_FALSE(dlg.worker().IsRunning());
  }
}

TEST_F(MainDialogTest, AFailedConnectShowsTheConfiguredTipsOrTheBuiltInText) {
  Open(Listing({{"A1", "小米 13"}}));
  // Without its adb the forward cannot start: the connect fails.
  ASSERT_TRUE(DeleteFileA((adb.folder() + "adb\\adb.exe").c_str()));
  const std::string saved = GetAppString(AppString::ConnTips);
  for (const char* tips : {"", "请先打开手机上的Vela相机"}) {
    SetAppString(AppString::ConnTips, tips);
    messages.clear();
    Click(CMainDlg::kConnectId);
    ASSERT_TRUE(PumpUntil([&] { return !messages.empty(); }, 20000));
    const std::string text = *tips ? tips : StreamWorker::kDefaultConnectFailedText;
    EXPECT_EQ(messages[0], Message(text, "同步失败"));
    EXPECT_EQ(dlg.connectButton().GetText(), "马上连接");
    EXPECT_FALSE(dlg.connectButton().IsDisabled());
  }
  SetAppString(AppString::ConnTips, saved);
}

TEST_F(MainDialogTest, TheModeButtonNamesTheOtherModeAndTellsWhichCameraCarriesThePicture) {
  Open("");
  messages.clear();
  const struct {
    const char* label;
    bool portrait;
    Message told;
  } clicks[] = {
      {"横屏模式", true, {"请在直播平台中，切换摄像头为“Vela直播助手（竖屏）”", "提示"}},
      {"竖屏模式", false, {"请在直播平台中，切换摄像头为“Vela直播助手（横屏）” ", "提示"}},
  };
  for (const auto& click : clicks) {
    Click(CMainDlg::kModeId);
    EXPECT_EQ(dlg.modeButton().GetText(), click.label);
    EXPECT_EQ(dlg.worker().frameBuffer().IsPortrait(), click.portrait);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), click.told);
  }
  EXPECT_EQ(messages.size(), 2u);
}

}  // namespace
