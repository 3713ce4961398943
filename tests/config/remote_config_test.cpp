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
  FetchRecorder recorder_;
  RemoteConfigFetch fetch_{recorder_.hwnd(), recorder_.ui()};
};

TEST_F(RemoteConfigTest, TextsGoToAppStringsAndTheIniFile) {
  scope_.SetEndpoint(
      ServeReply("texts",
                 "<?xml version=\"1.0\" encoding=\"utf-8\"?><config><app_name>Vela相机</app_name>"
                 "<tips_conn>第一行\r\n第二行\n第三行</tips_conn>"
                 "<image_help_conn>http://a/c.png</image_help_conn></config>"));
  const char* request = "path=/replies/texts/config.php query=ver=1.0.0.0&rand=";
  const int before = LoggedRequests(request);
  FetchOnce(true);
  EXPECT_EQ(before + 1, LoggedRequests(request));
  EXPECT_EQ("Vela相机", GetAppString(AppString::AppName));
  EXPECT_EQ("Vela相机", ReadConfig("AppName"));
  EXPECT_EQ("第一行\r\n第二行\n第三行", GetAppString(AppString::ConnTips));
  EXPECT_EQ("第一行</br>第二行</br>第三行", ReadConfig("ConnTips"));
  // A picture's address is stored by the picture refresh, which needs "update".
  EXPECT_EQ("http://a/c.png", GetAppString(AppString::HelpConnImage));
  EXPECT_EQ("", ReadConfig("HelpConnImage"));
  // Without "update": no question, not even "no update" for a manual check.
  EXPECT_EQ("", recorder_.events);
}

TEST_F(RemoteConfigTest, TheUpdateQuestionAndWhatItsAnswerStarts) {
  struct Case {
    const char* version;
    const char* url;
    bool manual, answer;
    const char* events;
  } cases[] = {
      {"1.0.0.1", "http://h/setup.exe", false, true, "question 新版本说明; download http://h/setup.exe; "},
      {"1.0.0.1", "http://h/setup.exe", false, false, "question 新版本说明; "},
      {"1.2.0.0", "http://h/news.html", false, true, "question 新版本说明; open http://h/news.html; "},
      {"1.0.0.0", "http://h/setup.exe", true, true, "no update; "},
      {"1.0.256.0", "http://h/setup.exe", false, true, ""},  // a byte overflow: no update, said nowhere
      {"9.0.0.0", "", true, true, ""},
  };
  for (const Case& c : cases) {
    recorder_.events.clear();
    recorder_.answerYes = c.answer;
    scope_.SetEndpoint(ServeReply("update", "<config>" + UpdateElement(c.version, c.url) + "</config>"));
    FetchOnce(c.manual);
    EXPECT_EQ(c.events, recorder_.events) << c.version << " " << c.url;
  }
}

TEST_F(RemoteConfigTest, HelpPicturesAreDownloadedOnlyWhenTheirAddressChanges) {
  auto serve = [&](const std::string& tag) {
    const std::string conn = ServerUrl("/help/" + tag + "/default.png"),
                      vcam = ServerUrl("/body/2097152?" + tag);
    scope_.SetEndpoint(
        ServeReply("pictures", "<config><image_help_conn>" + conn + "</image_help_conn><image_help_vcam>" +
                                   vcam + "</image_help_vcam><image_help_hcam>" + ServerUrl("/none.jpg") +
                                   "</image_help_hcam><update/></config>"));
  };
  serve("first");
  FetchOnce(false);
  EXPECT_EQ("help picture; ", recorder_.events);
  const std::string first = ReadFileBytes(scope_.PicturePath("default.png"));
  // A body past the first buffer (and of any content) arrives whole: the server's pattern, i * 7 mod 251.
  std::string pattern(2097152, '\0');
  for (size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<char>(i % 251 * 7 % 251);
  EXPECT_TRUE(pattern == ReadFileBytes(scope_.PicturePath("default_v.jpg")));
  // A failed download writes nothing, and its address is stored all the same.
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(scope_.PicturePath("default_h.jpg").c_str()));
  EXPECT_EQ(ServerUrl("/none.jpg"), ReadConfig("HelpHCamImage"));

  // The same addresses again: nothing is fetched.
  const int pictureRequests = LoggedRequests("path=/help/first/");
  FetchOnce(false);
  EXPECT_EQ(pictureRequests, LoggedRequests("path=/help/first/"));

  // A new address: downloaded, and the main window told to reload it.
  serve("second");
  FetchOnce(false);
  EXPECT_EQ("help picture; help picture; ", recorder_.events);
  const std::string second = ReadFileBytes(scope_.PicturePath("default.png"));
  EXPECT_NE(first, second);
}

TEST_F(RemoteConfigTest, EveryServerFaultLeavesEverythingAsItWas) {
  scope_.SetEndpoint(ServeReply(
      "kept", "<config><app_name>原来的名字</app_name>" + UpdateElement("1.0.0.0", "x.exe") +
                  "<image_help_conn>" + ServerUrl("/help/kept/default.png") + "</image_help_conn></config>"));
  FetchOnce(false);
  ASSERT_EQ("原来的名字", GetAppString(AppString::AppName));
  const std::string picture = ReadFileBytes(scope_.PicturePath("default.png"));
  recorder_.events.clear();

  // Faults of the transfer spoil a reply and a picture alike; a bad body only a reply.
  const std::vector<std::string> transferFaults = {
      ServerUrl("/fault/close"), ServerUrl("/fault/500"), ServerUrl("/fault/huge"),
      ServerUrl("/fault/cut"),   ServerUrl("/x", 1),
  };
  std::vector<std::string> endpoints = transferFaults;
  for (const char* bad : {"/fault/garbage", "/fault/bomb"}) endpoints.push_back(ServerUrl(bad));
  endpoints.push_back(ServeReply("broken", "<config><app_name>新名字</app_name>"));
  for (size_t i = 0; i < transferFaults.size(); ++i)
    endpoints.push_back(
        ServeReply("faulty_picture" + std::to_string(i),
                   "<config><update/><image_help_conn>" + transferFaults[i] + "</image_help_conn></config>"));
  for (const std::string& url : endpoints) {
    scope_.SetEndpoint(url);
    FetchOnce(url.find("faulty_picture") == std::string::npos);  // a manual check, unless it finds no update
    EXPECT_EQ("原来的名字", GetAppString(AppString::AppName)) << url;
    EXPECT_EQ("原来的名字", ReadConfig("AppName")) << url;
    EXPECT_EQ("1.0.0.0", GetAppString(AppString::appupdate_version)) << url;
    EXPECT_EQ(picture, ReadFileBytes(scope_.PicturePath("default.png"))) << url;
  }
  EXPECT_EQ("", recorder_.events);
}

TEST_F(RemoteConfigTest, StopEndsAFetchTheServerNeverAnswersAndASecondCheckMeanwhileIsDropped) {
  scope_.SetEndpoint(ServerUrl("/fault/hang/config.php"));
  const int before = LoggedRequests("path=/fault/hang/config.php");
  ASSERT_TRUE(fetch_.StartRemoteConfigFetch(false));
  ASSERT_TRUE(PumpUntil([&] { return LoggedRequests("path=/fault/hang/config.php") > before; }, 10000));
  EXPECT_FALSE(fetch_.StartRemoteConfigFetch(true));

  const DWORD start = GetTickCount();
  fetch_.Stop();
  EXPECT_LT(GetTickCount() - start, 3000u);
  EXPECT_EQ(before + 1, LoggedRequests("path=/fault/hang/config.php"));
}

TEST_F(RemoteConfigTest, StopAnswersAnOpenUpdateQuestionWithNo) {
  RemoteConfigFetch fetch(recorder_.hwnd());  // the program's message boxes
  scope_.SetEndpoint(
      ServeReply("question", "<config>" + UpdateElement("9.0.0.0", "http://h/setup.exe") + "</config>"));
  ASSERT_TRUE(fetch.StartRemoteConfigFetch(false));
  ASSERT_TRUE(PumpUntil([] { return FindWindowA(nullptr, "Vela直播助手软件更新提示") != nullptr; }, 10000));
  const DWORD start = GetTickCount();
  fetch.Stop();
  EXPECT_LT(GetTickCount() - start, 3000u);
  EXPECT_EQ(nullptr, FindWindowA(nullptr, "Vela直播助手软件更新提示"));
  EXPECT_EQ("", recorder_.events);
}

}  // namespace
