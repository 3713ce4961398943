// Address splitting and version comparison: the pure rules the HTTP client
// and the update check are built on.
#include <gtest/gtest.h>

#include <string>

#include "config/core/url.h"
#include "config/core/version_number.h"

namespace {

// What the HTTP client makes of an address: "name port path", or "refused".
std::string Split(const std::string& url) {
  std::string host, path, name;
  int port = 0;
  if (!ParseUrl(url, host, path) || !SplitHostPort(host, name, port)) return "refused";
  return name + " " + std::to_string(port) + " " + path;
}

TEST(AddressTest, HostPortAndPathOrRefused) {
  struct Case {
    const char* url;
    const char* split;
  } cases[] = {
      {"http://example.com/a/b?x=1", "example.com 80 /a/b?x=1"},
      {"example.com/config.php", "example.com 80 /config.php"},
      {"ftp://h/p://q", "h 80 /p://q"},
      {"http://127.0.0.1:31000/", "127.0.0.1 31000 /"},
      {"http://example.com", "refused"},  // ends after its host
      {"http://", "refused"},
      {"http://h:65536/", "refused"},
      {"http://h:0/", "refused"},
      {"http://h:8o/", "refused"},
      {"http://:80/", "refused"},
      {"http://h:99999999999999999999/", "refused"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.split, Split(c.url)) << c.url;
}

TEST(ParseVersionTest, FourBytesFromTheFrontComparedAsOneUnsignedNumber) {
  struct Case {
    const char* text;
    const char* bytes;
    bool newerThanOneZeroZeroZero;
  } cases[] = {
      {"1.0.0.12", "1.0.0.12", true},
      {"1.2.3", "1.2.3.0", true},
      {"1.2", "1.2.0.0", true},
      {"7", "0.0.0.0", false},
      {"", "0.0.0.0", false},
      {"1.2.3.4.5", "1.2.3.5", true},
      {"1.0.256.0", "1.0.0.0", false},
      {" 2.x.-1.9z", "2.0.255.9", true},
      {"99999999999.1.1.1", "255.1.1.1", true},
      {"0.255.255.255", "0.255.255.255", false},
  };
  for (const Case& c : cases) {
    std::string bytes;
    for (uint8_t byte : ParseVersion(c.text)) bytes += (bytes.empty() ? "" : ".") + std::to_string(byte);
    EXPECT_EQ(c.bytes, bytes) << c.text;
    EXPECT_EQ(c.newerThanOneZeroZeroZero, IsNewerVersion("1.0.0.0", c.text)) << c.text;
  }
}

}  // namespace
