#include "link/command_text.h"

#include <gtest/gtest.h>

// The test executables carry the program's manifest setting: ANSI is UTF-8.
TEST(CommandTextTest, PayloadBecomesTextUpToItsFirstNulWithInvalidBytesReplaced) {
  const std::string chinese = "<item text=\"美白 磨皮 — 滤镜\" emoji=\"\xF0\x9F\x98\x80\"/>";
  const struct {
    std::string payload, text;
  } cases[] = {
      {"<page id=\"2\"/>", "<page id=\"2\"/>"},
      {chinese, chinese},
      {std::string("<a/>\0<b/>", 9), "<a/>"},
      {std::string("\0<a/>", 5), ""},
      {"a\xFF"
       "b",
       "a\xEF\xBF\xBD"
       "b"},
      {"\xE6\x96", "\xEF\xBF\xBD"},  // a character cut short at the end
  };
  for (const auto& c : cases)
    EXPECT_EQ(CommandPayloadToAnsi(reinterpret_cast<const uint8_t*>(c.payload.data()),
                                   static_cast<int32_t>(c.payload.size())),
              c.text);
  const uint8_t byte = 'x';
  EXPECT_EQ(CommandPayloadToAnsi(nullptr, 10), "");
  EXPECT_EQ(CommandPayloadToAnsi(&byte, 0), "");
  EXPECT_EQ(CommandPayloadToAnsi(&byte, -1), "");
}
