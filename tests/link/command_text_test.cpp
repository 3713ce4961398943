#include "link/command_text.h"

#include <gtest/gtest.h>

namespace {

std::string Convert(const std::string& payload) {
  return CommandPayloadToAnsi(reinterpret_cast<const uint8_t*>(payload.data()),
                              static_cast<int32_t>(payload.size()));
}

}  // namespace

// The test executables carry the program's manifest setting: ANSI is UTF-8.
TEST(CommandTextTest, Utf8TextComesThroughUnchanged) {
  EXPECT_EQ(Convert("<page id=\"2\"/>"), "<page id=\"2\"/>");
  const std::string chinese = "<item text=\"美白 磨皮 — 滤镜\" emoji=\"\xF0\x9F\x98\x80\"/>";
  EXPECT_EQ(Convert(chinese), chinese);
}

TEST(CommandTextTest, TextEndsAtTheFirstNul) {
  EXPECT_EQ(Convert(std::string("<a/>\0<b/>", 9)), "<a/>");
  EXPECT_EQ(Convert(std::string("\0<a/>", 5)), "");
}

TEST(CommandTextTest, InvalidSequencesBecomeReplacementCharacters) {
  EXPECT_EQ(Convert("a\xFF"
                    "b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(Convert("\xE6\x96"), "\xEF\xBF\xBD");  // a character cut short at the end
}

TEST(CommandTextTest, EmptyOrMissingPayloadGivesEmptyText) {
  EXPECT_EQ(CommandPayloadToAnsi(nullptr, 10), "");
  const uint8_t byte = 'x';
  EXPECT_EQ(CommandPayloadToAnsi(&byte, 0), "");
  EXPECT_EQ(CommandPayloadToAnsi(&byte, -1), "");
}
