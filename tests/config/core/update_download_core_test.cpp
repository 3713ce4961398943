// The update's pure rules: the file names taken from the address, the
// decoding of the reply's hash and signature texts, and the signed message.
#include <gtest/gtest.h>

#include "config/core/update_names.h"
#include "config/core/update_signature.h"

TEST(UpdateNamesTest, NamesFromTheAddress) {
  struct Case {
    const char* url;
    const char* file;  // null: refused
    const char* temp;
  } cases[] = {
      {"http://h/dl/setup.exe", "setup.exe", "setup.tmp"},
      {"http://h/dl/setup.exe?v=2", "setup.exe", "setup.tmp"},
      {"http://h/setup.exe?v=2.5", "setup.exe", "setup.tmp"},
      {"setup.exe", "setup.exe", "setup.tmp"},
      {"http://h/a.b.exe", "a.b.exe", "a.b.tmp"},
      {"http://h/dl/", nullptr, nullptr},
      {"http://h/dl/?x=setup.exe", nullptr, nullptr},
      {"http://h/..", nullptr, nullptr},
      {"http://h/c:setup.exe", nullptr, nullptr},
      {"http://h/se\ttup.exe", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    std::string file = "old", temp = "old";
    bool ok = UpdateFileNames(c.url, file, temp);
    EXPECT_EQ(ok, c.file != nullptr) << c.url;
    if (ok && c.file) {
      EXPECT_EQ(file, c.file) << c.url;
      EXPECT_EQ(temp, c.temp) << c.url;
    }
  }
}

TEST(UpdateSignatureTest, HexAndBase64DecodingIsStrictAndBounded) {
  using namespace std::string_literals;
  struct Case {
    bool base64;
    const char* text;
    bool ok;
    std::string bytes;
  } cases[] = {
      {false, " 00fFa5\n", true, "\x00\xff\xa5"s},
      {false, "abc", false, ""},
      {false, "zz", false, ""},
      {false, "00112233", false, ""},  // more than 3 bytes
      {false, "", true, ""},
      {true, "TWFu", true, "Man"},
      {true, " TWE=\r\n", true, "Ma"},
      {true, "TQ==", true, "M"},
      {true, "TQ=a", false, ""},
      {true, "T===", false, ""},
      {true, "TWF", false, ""},
      {true, "TW!u", false, ""},
      {true, "TWFuTWFu", false, ""},  // more than 3 bytes
  };
  for (const Case& c : cases) {
    std::string bytes = "old";
    bool ok = c.base64 ? DecodeBase64(c.text, bytes, 3) : DecodeHex(c.text, bytes, 3);
    EXPECT_EQ(ok, c.ok) << c.text;
    EXPECT_EQ(bytes, c.ok ? c.bytes : "old") << c.text;
  }
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  for (size_t n : {0, 1, 2, 64, 256}) {
    std::string back;
    ASSERT_TRUE(DecodeBase64(EncodeBase64(all.substr(0, n)), back, 256));
    EXPECT_EQ(back, all.substr(0, n));
    ASSERT_TRUE(DecodeHex(EncodeHex(all.substr(0, n)), back, 256));
    EXPECT_EQ(back, all.substr(0, n));
  }
}

// The layout the maker's signing tool writes: a change here invalidates every
// signature already published.
TEST(UpdateSignatureTest, SignedMessageLayout) {
  EXPECT_EQ(UpdateSignedMessage("1.0.0.1", "http://h/setup.exe?v=2", std::string("\x01\xab", 2)),
            "vela-update-1\n1.0.0.1\nhttp://h/setup.exe?v=2\n01ab\n");
}
