// The help, input and settings dialogs through their real windows and
// messages, and how the main window opens them: its help link, its settings
// button and the help that opens by itself after three empty refreshes.
// Pages open through a recording opener; modal dialogs are driven from a
// thread timer that runs inside their loops.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/help_dlg.h"
#include "app/main_dlg.h"
#include "app/setting_dlg.h"
#include "config/core/app_globals.h"
#include "framework/message_loop.h"
#include "tests/support/fake_adb_fixture.h"
#include "tests/support/pump.h"

namespace {

std::string TextOf(HWND window) {
  std::string text(::GetWindowTextLengthA(window), '\0');
  text.resize(::GetWindowTextA(window, text.data(), static_cast<int>(text.size()) + 1));
  return text;
}

// Whether the control shows once its dialog does.
bool Shown(HWND control) {
  return (::GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

// Acts on the dialogs this thread shows from now on, in order: each step
// waits for a new, enabled dialog window that it matches and acts on it (by
// posting, so the modal loop goes on). A new dialog no step takes within
// 10 s is a failure and is cancelled, so a test never hangs in a modal loop.
class DialogScript {
 public:
  using Match = std::function<bool(HWND)>;
  using Act = std::function<void(HWND)>;
  explicit DialogScript(std::vector<std::pair<Match, Act>> steps = {}) : steps_(std::move(steps)) {
    ::EnumThreadWindows(::GetCurrentThreadId(), Remember, reinterpret_cast<LPARAM>(&known_));
    current_ = this;
    timer_ = ::SetTimer(nullptr, 0, 20, Tick);
  }
  ~DialogScript() {
    ::KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  bool done() const { return next_ == steps_.size(); }

 private:
  static BOOL CALLBACK Remember(HWND window, LPARAM known) {
    reinterpret_cast<std::set<HWND>*>(known)->insert(window);
    return TRUE;
  }
  static BOOL CALLBACK FindNew(HWND window, LPARAM found) {
    char cls[16] = "";
    ::GetClassNameA(window, cls, sizeof cls);
    if (current_->known_.count(window) || std::string(cls) != "#32770" || !::IsWindowVisible(window) ||
        !::IsWindowEnabled(window))
      return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (current_) current_->Poll();
  }
  void Poll() {
    HWND shown = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindNew, reinterpret_cast<LPARAM>(&shown));
    if (!shown) {
      waitingSince_ = 0;
      return;
    }
    if (!done() && steps_[next_].first(shown)) {
      steps_[next_++].second(shown);
      waitingSince_ = 0;
    } else if (!waitingSince_) {
      waitingSince_ = ::GetTickCount();
    } else if (::GetTickCount() - waitingSince_ > 10000) {
      ADD_FAILURE() << "dialog \"" << TextOf(shown) << "\" left unanswered";
      ::PostMessageA(shown, WM_COMMAND, IDCANCEL, 0);
      waitingSince_ = 0;
    }
  }

  static inline DialogScript* current_ = nullptr;
  std::vector<std::pair<Match, Act>> steps_;
  size_t next_ = 0;
  std::set<HWND> known_;
  UINT_PTR timer_ = 0;
  DWORD waitingSince_ = 0;
};

DialogScript::Match Titled(const char* caption) {
  return [caption](HWND window) { return TextOf(window) == caption; };
}
DialogScript::Act Press(int id) {
  return [id](HWND window) { ::PostMessageA(window, WM_COMMAND, id, 0); };
}

struct ConfiguredAddresses {
  ConfiguredAddresses(const char* adb, const char* guide) {
    SetAppString(AppString::AdbDriveUrl, adb);
    SetAppString(AppString::OpenDebugModeUrl, guide);
  }
  ~ConfiguredAddresses() {
    for (AppString id :
         {AppString::AdbDriveUrl, AppString::OpenDebugModeUrl, AppString::AppName, AppString::AppUrl})
      SetAppString(id, "");
  }
};

constexpr const char* kGuidePage = "http://guide.example/usb-debugging.html";
constexpr const char* kSearchPrefix = "https://www.baidu.com/s?wd=";
constexpr const char* kDriverPage = "http://driver.example/adb.zip";

TEST(HelpDialog, ShowsTheStepsAndOnlyTheLinksThatHaveAnAddress) {
  const struct {
    const char* adb;
    const char* guide;
  } rows[] = {{kDriverPage, ""}, {"", kGuidePage}};
  for (const auto& row : rows) {
    ConfiguredAddresses addresses(row.adb, row.guide);
    HelpDlg help;
    ASSERT_TRUE(help.Create(nullptr));
    EXPECT_EQ(TextOf(help), "使用帮助");
    std::string steps;
    for (HWND child = ::GetWindow(help, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
      if (static_cast<WORD>(::GetDlgCtrlID(child)) == 0xFFFF) steps = TextOf(child);  // the id -1
    EXPECT_EQ(steps.rfind("未检测到设备？\n\n安卓用户：\n1.检查USB线是否正确连接\n", 0), 0u) << steps;
    EXPECT_NE(steps.find("\n\niOS用户：\n1.安装iTunes\n"), std::string::npos);
    EXPECT_EQ(steps.substr(steps.rfind('\n')), "\n4.重新检测设备");
    HWND driver = help.GetDlgItem(HelpDlg::kDriverLinkId), guide = help.GetDlgItem(HelpDlg::kGuideLinkId);
    EXPECT_EQ(TextOf(driver), "下载ADB驱动");
    EXPECT_EQ(TextOf(guide), "教我设置");
    EXPECT_EQ(Shown(driver), *row.adb != '\0') << row.adb;
    EXPECT_EQ(Shown(guide), *row.guide != '\0') << row.guide;
    // The links are blue on white, the steps keep the default colour.
    MemoryDC dc(nullptr, 1, 1);
    for (HWND control : {driver, guide, help.GetDlgItem(IDOK)}) {
      ::SetTextColor(dc.get(), 0);
      EXPECT_TRUE(help.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                                   reinterpret_cast<LPARAM>(control)));
      EXPECT_EQ(::GetTextColor(dc.get()), control == help.GetDlgItem(IDOK) ? 0 : HelpDlg::kLinkColor);
    }
    help.DestroyWindow();
  }
}

// A search address asks for the phone first; cancelling opens nothing.
TEST(HelpDialog, LinksAndTheTutorialButtonOpenTheirPages) {
  const struct {
    const char* guide;
    int command;
    std::vector<std::pair<DialogScript::Match, DialogScript::Act>> input;
    std::vector<std::string> opened;
    bool ends;
  } rows[] = {
      {kGuidePage, HelpDlg::kGuideLinkId, {}, {kGuidePage}, false},
      {kSearchPrefix, HelpDlg::kGuideLinkId, {{Titled("打开USB调试模式"), Press(IDCANCEL)}}, {}, false},
      {kSearchPrefix,
       HelpDlg::kGuideLinkId,
       {{Titled("打开USB调试模式"),
         [](HWND box) {
           ::SetDlgItemTextA(box, 1007, "小米 13");
           Press(IDOK)(box);
         }}},
       {std::string(kSearchPrefix) + "小米 13 打开USB调试模式"},
       false},
      {kGuidePage, HelpDlg::kDriverLinkId, {}, {kDriverPage}, false},
      {kGuidePage, HelpDlg::kTutorialId, {}, {kTutorialPageUrl}, true},
  };
  for (const auto& row : rows) {
    ConfiguredAddresses addresses(kDriverPage, row.guide);
    std::vector<std::string> opened;
    HelpDlg help([&](const std::string& url) { opened.push_back(url); });
    ASSERT_TRUE(help.Create(nullptr));
    DialogScript script(row.input);
    help.SendMessage(WM_COMMAND, row.command, 0);
    EXPECT_TRUE(script.done()) << row.guide;
    EXPECT_EQ(opened, row.opened) << row.guide;
    EXPECT_EQ(help.IsWindow() == FALSE, row.ends) << row.command;
    if (help.IsWindow()) help.DestroyWindow();
  }
}

TEST(SettingDialog, ShowsTheVersionAndNamesTheAppToDownload) {
  const struct {
    const char* appName;
    const char* appUrl;
    const char* button;
    std::string page;
  } rows[] = {{"", "", "下载Vela相机", kProductPageUrl},
              {"Vela相机Pro", "http://app.example/get", "下载Vela相机Pro", "http://app.example/get"}};
  for (const auto& row : rows) {
    ConfiguredAddresses addresses("", "");
    SetAppString(AppString::AppName, row.appName);
    SetAppString(AppString::AppUrl, row.appUrl);
    int checks = 0;
    std::vector<std::string> opened;
    Setting settings([&] { ++checks; }, [&](const std::string& url) { opened.push_back(url); });
    ASSERT_TRUE(settings.Create(nullptr));
    RECT rc;
    settings.GetWindowRect(&rc);
    EXPECT_EQ(rc.right - rc.left, Setting::kWidth);
    EXPECT_EQ(rc.bottom - rc.top, Setting::kHeight);
    EXPECT_EQ(settings.versionLine(), "当前版本号：1.0.0.0");  // the test program's version resource
    EXPECT_EQ(settings.downloadButton().GetText(), row.button);
    settings.SendMessage(WM_COMMAND, Setting::kDownloadId, 0);
    settings.SendMessage(WM_COMMAND, Setting::kCheckId, 0);
    EXPECT_EQ(opened, std::vector<std::string>{row.page});
    EXPECT_EQ(checks, 1);
    settings.SendMessage(WM_COMMAND, Setting::kCloseId, 0);
    EXPECT_FALSE(settings.IsWindow());
  }
}

TEST(SettingDialog, PaintsTheMarkInItsPlaceInsideAGreyRoundedFrame) {
  Setting settings([] {});
  ASSERT_TRUE(settings.Create(nullptr));
  MemoryDC mem(nullptr, Setting::kWidth, Setting::kHeight);
  settings.PaintClient(mem.get(), RECT{0, 0, Setting::kWidth, Setting::kHeight});
  int coloured = 0;
  const int left = (Setting::kWidth - Setting::kIconSize) / 2;
  for (int y = Setting::kIconTop; y < Setting::kIconTop + Setting::kIconSize; ++y)
    for (int x = left; x < left + Setting::kIconSize; ++x)
      coloured += GetPixel(mem.get(), x, y) != RGB(255, 255, 255);
  EXPECT_GT(coloured, Setting::kIconSize * Setting::kIconSize / 4);
  EXPECT_EQ(GetPixel(mem.get(), Setting::kWidth / 2, 0), Setting::kFrameColor);
  EXPECT_EQ(GetPixel(mem.get(), 0, Setting::kHeight / 2), Setting::kFrameColor);
  EXPECT_EQ(GetPixel(mem.get(), 10, Setting::kHeight / 2), RGB(255, 255, 255));
  settings.DestroyWindow();
}

class MainWindowDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    adb.SetScenario("");
    AppModule().AddMessageLoop(&loop);
    dlg.SetUserMessage([](const std::string&, const std::string&) {});
    ASSERT_TRUE(dlg.Create(nullptr));
    dlg.ShowWindow(SW_SHOWNOACTIVATE);
    ASSERT_TRUE(PumpUntil([&] { return dlg.connectButton().IsWindowVisible() != FALSE; }, 20000));
  }
  void TearDown() override {
    if (dlg.IsWindow()) dlg.DestroyWindow();
    AppModule().RemoveMessageLoop();
  }
  bool RefreshEmpty() {
    dlg.SendMessage(WM_COMMAND, CMainDlg::kRefreshId, 0);
    return PumpUntil([&] { return dlg.deviceBox().GetText() == "未检测到设备"; }, 20000);
  }

  FakeAdbFolder adb;
  CMessageLoop loop;
  CMainDlg dlg;
};

// While the help is open, a worker's sent message is still delivered.
TEST_F(MainWindowDialogs, TheHelpLinkOpensTheHelpAndWorkersAreNotHeld) {
  std::atomic<bool> delivered{false};
  std::thread sender;
  HWND owner = nullptr;
  DialogScript script({{Titled("使用帮助"),
                        [&](HWND help) {
                          owner = ::GetWindow(help, GW_OWNER);
                          sender = std::thread([&, main = dlg.m_hWnd] {
                            DWORD_PTR result;
                            delivered = ::SendMessageTimeoutA(main, WM_LINK_COMMAND, 0, 0, SMTO_BLOCK, 10000,
                                                              &result) != 0;
                          });
                        }},
                       {[&](HWND) { return delivered.load(); }, Press(IDOK)}});
  dlg.SendMessage(WM_COMMAND, CMainDlg::kHelpLinkId, 0);
  sender.join();
  EXPECT_TRUE(script.done());
  EXPECT_EQ(owner, dlg.m_hWnd);
}

TEST_F(MainWindowDialogs, TheSettingsButtonOpensTheSettings) {
  std::string version;
  DialogScript script({{[](HWND window) { return TextOf(window).empty(); },
                        [&](HWND settings) {
                          RECT rc;
                          ::GetWindowRect(settings, &rc);
                          version =
                              std::to_string(rc.right - rc.left) + "x" + std::to_string(rc.bottom - rc.top);
                          Press(Setting::kCloseId)(settings);
                        }}});
  dlg.SendMessage(WM_COMMAND, CMainDlg::kSettingsId, 0);
  EXPECT_TRUE(script.done());
  EXPECT_EQ(version, "460x330");
}

TEST_F(MainWindowDialogs, TheHelpOpensByItselfAfterThreeEmptyRefreshesAndTheCountStartsAgain) {
  int shown = 0;
  DialogScript script({{Titled("使用帮助"), [&](HWND help) {
                          ++shown;
                          Press(IDOK)(help);
                        }}});
  for (int refresh = 1; refresh <= 4; ++refresh) {
    ASSERT_TRUE(RefreshEmpty()) << refresh;
    EXPECT_EQ(shown, refresh >= 3 ? 1 : 0) << refresh;
  }
}

}  // namespace
