// The help, input and settings dialogs through their real windows and
// messages, and how the main window opens them. Pages open through a
// recording opener; modal dialogs are driven from a thread timer that runs
// inside their loops.
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

// Acts on the dialogs this thread shows from now on, from a timer inside
// their modal loops: each step acts on the first new dialog it matches (by
// posting, so the loop goes on). A dialog no step takes within 10 s fails the
// test and is cancelled.
class DialogScript {
 public:
  using Step = std::pair<std::function<bool(HWND)>, std::function<void(HWND)>>;
  explicit DialogScript(std::vector<Step> steps = {}) : steps_(std::move(steps)), known_(Dialogs()) {
    current_ = this;
    timer_ = ::SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) { current_->Poll(); });
  }
  ~DialogScript() {
    ::KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  bool done() const { return next_ == steps_.size(); }

 private:
  // The thread's visible dialog windows that take input (a modal one's owner does not).
  static std::set<HWND> Dialogs() {
    std::set<HWND> found;
    auto add = [](HWND window, LPARAM set) -> BOOL {
      char cls[8] = "";
      ::GetClassNameA(window, cls, sizeof cls);
      if (std::string(cls) == "#32770" && ::IsWindowVisible(window) && ::IsWindowEnabled(window))
        reinterpret_cast<std::set<HWND>*>(set)->insert(window);
      return TRUE;
    };
    ::EnumThreadWindows(::GetCurrentThreadId(), add, reinterpret_cast<LPARAM>(&found));
    return found;
  }
  void Poll() {
    HWND shown = nullptr;
    for (HWND window : Dialogs())
      if (!known_.count(window)) shown = window;
    if (shown && !done() && steps_[next_].first(shown)) steps_[next_++].second(shown), shown = nullptr;
    if (!shown || !waitingSince_) waitingSince_ = shown ? ::GetTickCount() : 0;
    if (shown && ::GetTickCount() - waitingSince_ > 10000) {
      ADD_FAILURE() << "dialog \"" << TextOf(shown) << "\" left unanswered";
      ::PostMessageA(shown, WM_COMMAND, IDCANCEL, 0);
      waitingSince_ = 0;
    }
  }

  static inline DialogScript* current_ = nullptr;
  std::vector<Step> steps_;
  size_t next_ = 0;
  std::set<HWND> known_;
  UINT_PTR timer_ = 0;
  DWORD waitingSince_ = 0;
};

std::function<bool(HWND)> Titled(const char* caption) {
  return [caption](HWND window) { return TextOf(window) == caption; };
}
std::function<void(HWND)> Press(int id, const char* typed = nullptr) {
  return [id, typed](HWND window) {
    if (typed) ::SetDlgItemTextA(window, 1007, typed);
    ::PostMessageA(window, WM_COMMAND, id, 0);
  };
}

// The configured texts the dialogs read; a test sets them back to empty.
void Configure(const char* adb = "", const char* guide = "", const char* appName = "",
               const char* appUrl = "") {
  SetAppString(AppString::AdbDriveUrl, adb);
  SetAppString(AppString::OpenDebugModeUrl, guide);
  SetAppString(AppString::AppName, appName);
  SetAppString(AppString::AppUrl, appUrl);
}

constexpr const char* kGuidePage = "http://guide.example/usb-debugging.html";
constexpr const char* kSearchPrefix = "https://www.baidu.com/s?wd=";
constexpr const char* kDriverPage = "http://driver.example/adb.zip";

TEST(HelpDialog, ShowsOnlyTheLinksThatHaveAnAddressInBlue) {
  for (auto [adb, guide] : {std::pair{kDriverPage, ""}, std::pair{"", kGuidePage}}) {
    Configure(adb, guide);
    HelpDlg help;
    ASSERT_TRUE(help.Create(nullptr));
    const std::pair<int, const char*> links[] = {{HelpDlg::kDriverLinkId, adb},
                                                 {HelpDlg::kGuideLinkId, guide}};
    for (auto [id, address] : links) {
      HWND link = help.GetDlgItem(id);
      EXPECT_EQ((::GetWindowLongA(link, GWL_STYLE) & WS_VISIBLE) != 0, *address != '\0') << id;
      MemoryDC dc(nullptr, 1, 1);  // blue on white
      EXPECT_TRUE(help.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()), (LPARAM)link));
      EXPECT_EQ(::GetTextColor(dc.get()), HelpDlg::kLinkColor);
    }
    help.DestroyWindow();
  }
  Configure();
}

// A search address asks for the phone first; cancelling opens nothing.
TEST(HelpDialog, LinksAndTheTutorialButtonOpenTheirPages) {
  const auto askedForModel = Titled("打开USB调试模式");
  const struct {
    const char* guide;
    int command;
    std::vector<DialogScript::Step> input;
    std::vector<std::string> opened;
  } rows[] = {
      {kGuidePage, HelpDlg::kGuideLinkId, {}, {kGuidePage}},
      {kSearchPrefix, HelpDlg::kGuideLinkId, {{askedForModel, Press(IDCANCEL)}}, {}},
      {kSearchPrefix,
       HelpDlg::kGuideLinkId,
       {{askedForModel, Press(IDOK, "小米 13")}},
       {std::string(kSearchPrefix) + "小米 13 打开USB调试模式"}},
      {kGuidePage, HelpDlg::kDriverLinkId, {}, {kDriverPage}},
      {kGuidePage, HelpDlg::kTutorialId, {}, {kTutorialPageUrl}},  // and the dialog ends
  };
  for (const auto& row : rows) {
    Configure(kDriverPage, row.guide);
    std::vector<std::string> opened;
    HelpDlg help([&](const std::string& url) { opened.push_back(url); });
    ASSERT_TRUE(help.Create(nullptr));
    DialogScript script(row.input);
    help.SendMessage(WM_COMMAND, row.command, 0);
    EXPECT_TRUE(script.done()) << row.guide;
    EXPECT_EQ(opened, row.opened) << row.guide;
    EXPECT_EQ(help.IsWindow() == FALSE, row.command == HelpDlg::kTutorialId);
    if (help.IsWindow()) help.DestroyWindow();
  }
  Configure();
}

TEST(SettingDialog, ShowsTheVersionAndTheMarkAndNamesTheAppToDownload) {
  const struct {
    const char* appName;
    const char* appUrl;
    const char* button;
    std::string page;
  } rows[] = {{"", "", "下载Vela相机", kProductPageUrl},
              {"Vela相机Pro", "http://app.example/get", "下载Vela相机Pro", "http://app.example/get"}};
  for (const auto& row : rows) {
    Configure("", "", row.appName, row.appUrl);
    int checks = 0;
    std::vector<std::string> opened;
    Setting settings([&] { ++checks; }, [&](const std::string& url) { opened.push_back(url); });
    ASSERT_TRUE(settings.Create(nullptr));
    EXPECT_EQ(settings.versionLine(), "当前版本号：1.0.0.0");  // the test program's version resource
    EXPECT_EQ(settings.downloadButton().GetText(), row.button);
    MemoryDC mem(nullptr, Setting::kWidth, Setting::kHeight);
    settings.PaintClient(mem.get(), RECT{0, 0, Setting::kWidth, Setting::kHeight});
    int coloured = 0;  // in the mark's square, centred at the top
    for (int i = 0; i < Setting::kIconSize * Setting::kIconSize; ++i)
      coloured += GetPixel(mem.get(), 196 + i % Setting::kIconSize,
                           Setting::kIconTop + i / Setting::kIconSize) != 0xFFFFFF;
    EXPECT_GT(coloured, Setting::kIconSize * Setting::kIconSize / 4);
    EXPECT_EQ(GetPixel(mem.get(), Setting::kWidth / 2, 0), Setting::kFrameColor);
    EXPECT_EQ(GetPixel(mem.get(), 0, Setting::kHeight / 2), Setting::kFrameColor);

    settings.SendMessage(WM_COMMAND, Setting::kDownloadId, 0);
    settings.SendMessage(WM_COMMAND, Setting::kCheckId, 0);
    EXPECT_EQ(opened, std::vector<std::string>{row.page});
    EXPECT_EQ(checks, 1);
    settings.SendMessage(WM_COMMAND, Setting::kCloseId, 0);
    EXPECT_FALSE(settings.IsWindow());
  }
  Configure();
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

  FakeAdbFolder adb;
  CMessageLoop loop;
  CMainDlg dlg;
};

// The settings button opens the settings; the help link the help, owned by
// the window, and a worker's sent message is still delivered while it is open.
TEST_F(MainWindowDialogs, TheButtonsOpenTheirDialogsAndWorkersAreNotHeld) {
  std::atomic<bool> delivered{false};
  std::thread sender;
  HWND owner = nullptr;
  const auto sendFromWorker = [&](HWND help) {
    owner = ::GetWindow(help, GW_OWNER);
    sender = std::thread([&, main = dlg.m_hWnd] {
      DWORD_PTR result;
      delivered = ::SendMessageTimeoutA(main, WM_LINK_COMMAND, 0, 0, SMTO_BLOCK, 10000, &result) != 0;
    });
  };
  const auto isSettings = [](HWND window) { return TextOf(window).empty(); };
  DialogScript script({{isSettings, Press(Setting::kCloseId)},
                       {Titled("使用帮助"), sendFromWorker},
                       {[&](HWND) { return delivered.load(); }, Press(IDOK)}});
  dlg.SendMessage(WM_COMMAND, CMainDlg::kSettingsId, 0);
  dlg.SendMessage(WM_COMMAND, CMainDlg::kHelpLinkId, 0);
  if (sender.joinable()) sender.join();
  EXPECT_TRUE(script.done());
  EXPECT_EQ(owner, dlg.m_hWnd);
}

TEST_F(MainWindowDialogs, TheHelpOpensByItselfAfterThreeEmptyRefreshesAndTheCountStartsAgain) {
  int shown = 0;
  DialogScript script({{Titled("使用帮助"), [&](HWND help) { Press(IDOK)(help), ++shown; }}});
  for (int refresh = 1; refresh <= 4; ++refresh) {
    dlg.SendMessage(WM_COMMAND, CMainDlg::kRefreshId, 0);
    ASSERT_TRUE(PumpUntil([&] { return dlg.deviceBox().GetText() == "未检测到设备"; }, 20000));
    EXPECT_EQ(shown, refresh >= 3 ? 1 : 0) << refresh;
  }
}

}  // namespace
