// The configuration reply: every element to its shared text and INI key,
// line breaks kept for the INI file, and the bounds a reply from the network
// must keep before it is parsed.
#include "config/core/remote_reply.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Describe(const RemoteReply& reply) {
  std::string text = reply.hasUpdate ? "update;" : "";
  for (const ReplyValue& v : reply.values) {
    text += std::to_string(static_cast<int>(v.target)) + "=" + v.text;
    if (v.iniKey) text += "|" + std::string(v.iniKey) + "=" + v.iniText;
    text += ";";
  }
  return text;
}

TEST(RemoteReplyTest, EveryElementGoesToItsTextAndKey) {
  const std::string full =
      "<?xml version=\"1.0\"?>\n<config>\n  <tips_conn>一\r\n二\n三</tips_conn>\n  "
      "<app_name>Vela相机</app_name>"
      "<app_url>http://a/app</app_url>\n  <open_debug_mode_url>http://a/debug</open_debug_mode_url>\n"
      "  <adb_drive_url>http://a/drv</adb_drive_url>\n  <image_help_conn>http://a/c.png</image_help_conn>\n"
      "  <image_help_vcam>http://a/v.jpg</image_help_vcam><image_help_hcam>http://a/h.jpg</image_help_hcam>\n"
      "  <update>\n    <appupdate_version>1.0.0.1</appupdate_version>\n    <appupdate_url>http://a/setup.exe"
      "</appupdate_url>\n    <appupdate_msg>新版本</appupdate_msg>\n    <appupdate_sha256>ab12</appupdate_sha256>"
      "<appupdate_sig>c2ln</appupdate_sig>\n  </update>\n</config>";
  struct Case {
    const char* name;
    std::string body;
    std::string expected;
  } cases[] = {
      {"full", full,
       "update;0=一\r\n二\n三|ConnTips=一</br>二</br>三;1=Vela相机|AppName=Vela相机;2=http://a/"
       "app|AppUrl=http://a/app;"
       "3=http://a/debug|OpenDebugModeUrl=http://a/debug;4=http://a/drv|AdbDriveUrl=http://a/drv;"
       "5=http://a/c.png;6=http://a/v.jpg;7=http://a/h.jpg;8=1.0.0.1;10=http://a/setup.exe;9=新版本;11=ab12;12=c2ln;"},
      {"any root name, first of a name counts, empty element is empty",
       "<r><app_name>one</app_name><app_name>two</app_name><app_url/></r>", "1=one|AppName=one;2=|AppUrl=;"},
      {"update without children", "<r><update/></r>", "update;"},
      {"elements below update only count there", "<r><update><app_name>x</app_name></update></r>", "update;"},
      {"entities decoded, markup line breaks kept out of texts",
       "<r\n a='1'\n><tips_conn\n>a &amp;&#10;b</tips_conn\n></r>", "0=a &\nb|ConnTips=a &</br>b;"},
  };
  for (const Case& c : cases) {
    RemoteReply reply;
    ASSERT_EQ(ReplyParse::kOk, ParseRemoteReply(c.body, reply)) << c.name;
    EXPECT_EQ(c.expected, Describe(reply)) << c.name;
  }
}

TEST(RemoteReplyTest, RefusedRepliesLeaveTheResultAlone) {
  std::string deep;
  for (int i = 0; i < 10000; ++i) deep += "<a>";
  std::string wide = "<r>";
  while (wide.size() <= RemoteReplyLimits::kMaxReplyBytes) wide += "<app_name>x</app_name>";
  wide += "</r>";
  std::string bomb =
      "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">]>"
      "<r><app_name>&b;</app_name></r>";
  struct Case {
    const char* name;
    std::string body;
    ReplyParse result;
  } cases[] = {
      {"too deep", deep, ReplyParse::kTooDeep},
      {"too large", wide, ReplyParse::kTooLarge},
      {"entity bomb (an internal subset is not understood)", bomb, ReplyParse::kNotXml},
      {"not xml", "<html>500 Internal Server Error", ReplyParse::kNotXml},
      {"garbage", std::string("\x01\xff<\0>", 5), ReplyParse::kNotXml},
  };
  for (const Case& c : cases) {
    RemoteReply reply;
    reply.values.push_back({AppString::AppName, "AppName", "kept", "kept"});
    EXPECT_EQ(c.result, ParseRemoteReply(c.body, reply)) << c.name;
    EXPECT_EQ("1=kept|AppName=kept;", Describe(reply)) << c.name;
  }
}

}  // namespace
