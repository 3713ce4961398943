// Address splitting and version comparison: the pure rules the HTTP client
// and the update check are built on.
#include <gtest/gtest.h>

#include <string>

#include "config/core/url.h"
#include "config/core/version_number.h"

namespace {

TEST(ParseUrlTest, SplitsHostAndPathOrRefuses) {
  struct Case {
    const char* url;
    bool ok;
    const char* host;
    const char* path;
  } cases[] = {
      {"http://example.com/a/b?x=1", true, "example.com", "/a/b?x=1"},
      {"example.com/config.php", true, "example.com", "/config.php"},
      {"http://127.0.0.1:8080/", true, "127.0.0.1:8080", "/"},
      {"ftp://h/p://q", true, "h", "/p://q"},
      {"http://example.com", false, "", ""},
      {"http://", false, "", ""},
      {"", false, "", ""},
  };
  for (const Case& c : cases) {
    std::string host = "unset", path = "unset";
    ASSERT_EQ(c.ok, ParseUrl(c.url, host, path)) << c.url;
    if (!c.ok) continue;
    EXPECT_EQ(c.host, host) << c.url;
    EXPECT_EQ(c.path, path) << c.url;
  }
}

TEST(SplitHostPortTest, PortDefaultsTo80AndMustBeANumberInRange) {
  struct Case {
    const char* host;
    bool ok;
    const char* name;
    int port;
  } cases[] = {
      {"example.com", true, "example.com", 80},
      {"127.0.0.1:31000", true, "127.0.0.1", 31000},
      {"h:1", true, "h", 1},
      {"h:65535", true, "h", 65535},
      {"h:65536", false, "", 0},
      {"h:0", false, "", 0},
      {"h:", false, "", 0},
      {"h:8o", false, "", 0},
      {":80", false, "", 0},
      {"", false, "", 0},
      {"h:99999999999999999999", false, "", 0},
  };
  for (const Case& c : cases) {
    std::string name;
    int port = 0;
    ASSERT_EQ(c.ok, SplitHostPort(c.host, name, port)) << c.host;
    if (!c.ok) continue;
    EXPECT_EQ(c.name, name) << c.host;
    EXPECT_EQ(c.port, port) << c.host;
  }
}

TEST(ParseVersionTest, FourBytesFromTheFrontWithTheLastPartLast) {
  struct Case {
    const char* text;
    int b0, b1, b2, b3;
  } cases[] = {
      {"1.0.0.12", 1, 0, 0, 12},
      {"1.2.3", 1, 2, 3, 0},
      {"1.2", 1, 2, 0, 0},
      {"7", 0, 0, 0, 0},
      {"", 0, 0, 0, 0},
      {"1.2.3.4.5", 1, 2, 3, 5},
      {"1.0.256.0", 1, 0, 0, 0},
      {" 2.x.-1.9z", 2, 0, 255, 9},
      {"99999999999.1.1.1", 255, 1, 1, 1},
  };
  for (const Case& c : cases) {
    std::array<uint8_t, 4> b = ParseVersion(c.text);
    EXPECT_EQ(c.b0, b[0]) << c.text;
    EXPECT_EQ(c.b1, b[1]) << c.text;
    EXPECT_EQ(c.b2, b[2]) << c.text;
    EXPECT_EQ(c.b3, b[3]) << c.text;
  }
}

TEST(IsNewerVersionTest, ComparesTheFourBytesAsOneUnsignedNumber) {
  struct Case {
    const char* local;
    const char* remote;
    bool newer;
  } cases[] = {
      {"1.0.0.0", "1.0.0.1", true},   {"1.0.0.0", "1.0.0.0", false},   {"1.0.0.0", "1.0.256.0", false},
      {"1.0.0.9", "1.0.1.0", true},   {"1.2.3.4", "1.2.3.4.5", true},  {"2.0.0.0", "1.255.255.255", false},
      {"1.0.0.0", "200.0.0.0", true}, {"200.0.0.0", "1.0.0.0", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.newer, IsNewerVersion(c.local, c.remote)) << c.local << " " << c.remote;
}

}  // namespace
