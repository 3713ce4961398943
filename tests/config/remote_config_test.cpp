// The configuration fetch against the real configuration server: texts and
// INI keys applied, the update question, the help pictures downloaded only
// when their addresses change, every server fault leaving everything as it
// was, and a stop that ends a fetch the server never answers.
#include "config/remote_config.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/core/app_globals.h"
#include "config/local_config.h"
#include "tests/config/config_server_fixture.h"
#include "tests/support/pump.h"

namespace {

struct UiRecord {
  std::vector<std::string> questions;
  int noUpdateNotices = 0;
  std::vector<std::string> openedPages;
  bool answer = true;
};

UpdateUi RecordingUi(UiRecord& record) {
  UpdateUi ui;
  ui.askToUpdate = [&record](const std::string& note) {
    record.questions.push_back(note);
    return record.answer;
  };
  ui.tellNoUpdate = [&record] { ++record.noUpdateNotices; };
  ui.openPage = [&record](const std::string& url) { record.openedPages.push_back(url); };
  return ui;
}

std::string UpdateElement(const std::string& version, const std::string& url) {
  return "<update><appupdate_version>" + version + "</appupdate_version><appupdate_url>" + url +
         "</appupdate_url><appupdate_msg>新版本说明</appupdate_msg></update>";
}

class RemoteConfigTest : public ::testing::Test {
 protected:
  // One fetch to its end, pumping the recorder's messages meanwhile.
  void FetchOnce(bool manual) {
    ASSERT_TRUE(fetch_.StartRemoteConfigFetch(manual));
    ASSERT_TRUE(PumpUntil([&] { return !fetch_.IsRunning(); }, 20000));
  }

  RemoteConfigScope scope_;
  MainWindowRecorder window_;
  UiRecord ui_;
  RemoteConfigFetch fetch_{window_.hwnd(), RecordingUi(ui_)};
};

TEST_F(RemoteConfigTest, TextsGoToAppStringsAndTheIniFile) {
  scope_.SetEndpoint(ServeReply("texts",
                                "<?xml version=\"1.0\" encoding=\"utf-8\"?><config>"
                                "<tips_conn>第一行\r\n第二行\n第三行</tips_conn>"
                                "<app_name>Vela相机</app_name><app_url>http://a/app</app_url>"
                                "<open_debug_mode_url>http://a/debug</open_debug_mode_url>"
                                "<adb_drive_url>http://a/driver</adb_drive_url></config>"));
  FetchOnce(true);
  EXPECT_TRUE(fetch_.lastFetchReplied());
  EXPECT_EQ(1, LoggedRequests("path=/replies/texts/config.php query=ver=1.0.0.0&rand="));
  struct Expected {
    AppString id;
    const char* key;
    const char* text;
    const char* stored;
  } expected[] = {
      {AppString::ConnTips, "ConnTips", "第一行\r\n第二行\n第三行", "第一行</br>第二行</br>第三行"},
      {AppString::AppName, "AppName", "Vela相机", "Vela相机"},
      {AppString::AppUrl, "AppUrl", "http://a/app", "http://a/app"},
      {AppString::OpenDebugModeUrl, "OpenDebugModeUrl", "http://a/debug", "http://a/debug"},
      {AppString::AdbDriveUrl, "AdbDriveUrl", "http://a/driver", "http://a/driver"},
  };
  for (const Expected& e : expected) {
    EXPECT_EQ(e.text, GetAppString(e.id)) << e.key;
    EXPECT_EQ(e.stored, ReadConfig(e.key)) << e.key;
  }
  // Without "update": no question, not even "no update" for a manual check.
  EXPECT_TRUE(ui_.questions.empty());
  EXPECT_EQ(0, ui_.noUpdateNotices);
}

TEST_F(RemoteConfigTest, TheUpdateQuestionAndWhatItsAnswerStarts) {
  struct Case {
    const char* name;
    std::string version, url;
    bool manual, answer;
    int questions, noUpdateNotices;
    std::vector<std::string> downloads, pages;
  } cases[] = {
      {"newer installer, yes",
       "1.0.0.1",
       "http://h/setup.exe",
       false,
       true,
       1,
       0,
       {"http://h/setup.exe"},
       {}},
      {"newer installer, no", "1.0.0.1", "http://h/setup.exe", false, false, 1, 0, {}, {}},
      {"newer web page, yes", "1.2.0.0", "http://h/news.html", false, true, 1, 0, {}, {"http://h/news.html"}},
      {"same version, manual", "1.0.0.0", "http://h/setup.exe", true, true, 0, 1, {}, {}},
      {"byte overflow is no update, automatic", "1.0.256.0", "http://h/setup.exe", false, true, 0, 0, {}, {}},
      {"no address", "9.0.0.0", "", true, true, 0, 0, {}, {}},
  };
  for (const Case& c : cases) {
    ui_ = UiRecord{};
    ui_.answer = c.answer;
    window_.updateAddresses.clear();
    scope_.SetEndpoint(ServeReply("update", "<config>" + UpdateElement(c.version, c.url) + "</config>"));
    FetchOnce(c.manual);
    EXPECT_EQ(c.questions, static_cast<int>(ui_.questions.size())) << c.name;
    if (c.questions) {
      EXPECT_EQ("新版本说明", ui_.questions[0]) << c.name;
    }
    EXPECT_EQ(c.noUpdateNotices, ui_.noUpdateNotices) << c.name;
    EXPECT_EQ(c.downloads, window_.updateAddresses) << c.name;
    EXPECT_EQ(c.pages, ui_.openedPages) << c.name;
  }
}

TEST_F(RemoteConfigTest, HelpPicturesAreDownloadedOnlyWhenTheirAddressChanges) {
  auto serve = [&](const std::string& tag) {
    scope_.SetEndpoint(ServeReply(
        "pictures", "<config><image_help_conn>" + ServerUrl("/help/" + tag + "/default.png") +
                        "</image_help_conn><image_help_vcam>" + ServerUrl("/help/" + tag + "/default_v.jpg") +
                        "</image_help_vcam><image_help_hcam>" + ServerUrl("/no/such/picture.jpg") +
                        "</image_help_hcam><update/></config>"));
  };
  serve("first");
  FetchOnce(false);
  EXPECT_EQ(1, window_.helpImageUpdates);
  std::string first = ReadFileBytes(scope_.PicturePath("default.png"));
  EXPECT_EQ(0u, first.find("\x89PNG"));
  EXPECT_FALSE(ReadFileBytes(scope_.PicturePath("default_v.jpg")).empty());
  // A failed download writes nothing, and its address is stored all the same.
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(scope_.PicturePath("default_h.jpg").c_str()));
  EXPECT_EQ(ServerUrl("/no/such/picture.jpg"), ReadConfig("HelpHCamImage"));
  EXPECT_EQ(ServerUrl("/help/first/default.png"), ReadConfig("HelpConnImage"));

  // The same addresses again: nothing is fetched, the removed file stays away.
  DeleteFileA(scope_.PicturePath("default.png").c_str());
  const int pictureRequests = LoggedRequests("path=/help/first/");
  FetchOnce(false);
  EXPECT_EQ(pictureRequests, LoggedRequests("path=/help/first/"));
  EXPECT_EQ(1, window_.helpImageUpdates);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(scope_.PicturePath("default.png").c_str()));

  // A new address: downloaded, and the main window told to reload it.
  serve("second");
  FetchOnce(false);
  EXPECT_EQ(2, window_.helpImageUpdates);
  std::string second = ReadFileBytes(scope_.PicturePath("default.png"));
  EXPECT_EQ(0u, second.find("\x89PNG"));
  EXPECT_NE(first, second);
}

TEST_F(RemoteConfigTest, EveryServerFaultLeavesEverythingAsItWas) {
  const std::string kept = "<config><app_name>原来的名字</app_name>" +
                           UpdateElement("9.0.0.0", "http://h/setup.exe") + "<image_help_conn>" +
                           ServerUrl("/help/kept/default.png") + "</image_help_conn></config>";
  scope_.SetEndpoint(ServeReply("kept", kept));
  FetchOnce(false);
  ASSERT_EQ("原来的名字", GetAppString(AppString::AppName));
  const std::string version = GetAppString(AppString::appupdate_version);
  const std::string picture = ReadFileBytes(scope_.PicturePath("default.png"));
  ui_ = UiRecord{};
  window_.updateAddresses.clear();
  const int updates = window_.helpImageUpdates;

  const std::string faults[] = {
      ServerUrl("/fault/close"),      ServerUrl("/fault/500"),
      ServerUrl("/fault/garbage"),    ServerUrl("/fault/bomb"),
      ServerUrl("/fault/huge"),       ServerUrl("/fault/cut"),
      AbsentServerUrl("/config.php"), ServeReply("broken", "<config><app_name>新名字</app_name>"),
  };
  for (const std::string& url : faults) {
    scope_.SetEndpoint(url);
    DWORD start = GetTickCount();
    FetchOnce(true);
    EXPECT_LT(GetTickCount() - start, 10000u) << url;
    EXPECT_EQ("原来的名字", GetAppString(AppString::AppName)) << url;
    EXPECT_EQ("原来的名字", ReadConfig("AppName")) << url;
    EXPECT_EQ(version, GetAppString(AppString::appupdate_version)) << url;
    EXPECT_EQ(picture, ReadFileBytes(scope_.PicturePath("default.png"))) << url;
  }
  EXPECT_TRUE(ui_.questions.empty());
  EXPECT_EQ(0, ui_.noUpdateNotices);
  EXPECT_EQ(updates, window_.helpImageUpdates);
}

TEST_F(RemoteConfigTest, StopEndsAFetchTheServerNeverAnswersAndASecondCheckMeanwhileIsDropped) {
  scope_.SetEndpoint(ServerUrl("/fault/hang/config.php"));
  const int before = LoggedRequests("path=/fault/hang/config.php");
  ASSERT_TRUE(fetch_.StartRemoteConfigFetch(false));
  ASSERT_TRUE(PumpUntil([&] { return LoggedRequests("path=/fault/hang/config.php") > before; }, 10000));
  EXPECT_FALSE(fetch_.StartRemoteConfigFetch(true));

  DWORD start = GetTickCount();
  fetch_.Stop();
  EXPECT_LT(GetTickCount() - start, 3000u);
  EXPECT_FALSE(fetch_.IsRunning());
  EXPECT_FALSE(fetch_.lastFetchReplied());
  EXPECT_EQ(before + 1, LoggedRequests("path=/fault/hang/config.php"));
}

TEST(RemoteConfigStopTest, StopAnswersAnOpenUpdateQuestionWithNo) {
  RemoteConfigScope scope;
  MainWindowRecorder window;
  RemoteConfigFetch fetch(window.hwnd());  // the program's message boxes
  scope.SetEndpoint(
      ServeReply("question", "<config>" + UpdateElement("9.0.0.0", "http://h/setup.exe") + "</config>"));
  ASSERT_TRUE(fetch.StartRemoteConfigFetch(false));
  ASSERT_TRUE(PumpUntil([] { return FindWindowA(nullptr, "Vela直播助手软件更新提示") != nullptr; }, 10000));

  DWORD start = GetTickCount();
  fetch.Stop();
  EXPECT_LT(GetTickCount() - start, 3000u);
  EXPECT_EQ(nullptr, FindWindowA(nullptr, "Vela直播助手软件更新提示"));
  EXPECT_TRUE(window.updateAddresses.empty());
}

}  // namespace
