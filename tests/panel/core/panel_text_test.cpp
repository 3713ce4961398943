// Attribute values and the notify text: the two texts the panel shares with
// the phone.
#include <gtest/gtest.h>

#include <climits>

#include "panel/core/attribute_list.h"
#include "panel/core/notify_text.h"

TEST(AttributeListTest, IntegersFollowThePhonesConventions) {
  const struct {
    const char* value;
    int expected;
  } cases[] = {
      {"0x10", 16},
      {"0xE75988", 0xE75988},
      {"0xFFFFFFFF", -1},
      {"a0x1F", 0},  // hex from the third char on: "x1F"
      {"12px", 12},
      {"  -7", -7},
      {"+3", 3},
      {"abc", 0},
      {"", 0},
      {"99999999999", INT_MAX},
      {"-99999999999", INT_MIN},
  };
  for (const auto& c : cases) {
    AttributeList list;
    list.Add("v", c.value);
    EXPECT_EQ(list.GetInt("v", 42), c.expected) << c.value;
  }
}

TEST(AttributeListTest, TheFirstOfARepeatedKeyCountsAndAbsentKeysFallBack) {
  AttributeList list;
  list.Add("name", "first");
  list.Add("Name", "other case");
  list.Add("name", "second");
  EXPECT_EQ(list.GetString("name"), "first");
  EXPECT_EQ(list.GetString("NAME"), "");
  EXPECT_EQ(list.GetInt("id", 7), 7);
  std::unique_ptr<AttributeList> copy = list.Clone();
  list.Add("id", "1");
  EXPECT_EQ(copy->pairs().size(), 3u);
  EXPECT_EQ(copy->GetString("Name"), "other case");
}

TEST(NotifyTextTest, OneLineInTheOrderThePhoneParses) {
  EXPECT_EQ(BuildNotifyText("click", 12, 3, {}),
            "<command name=\"notify\"><event name=\"click\" id=\"12\" parent_id=\"3\"></event></command>");
  EXPECT_EQ(
      BuildNotifyText("slider_pos", 21, -20, {{"pos", "35"}, {"x", ""}}),
      "<command name=\"notify\"><event name=\"slider_pos\" id=\"21\" parent_id=\"-20\" pos=\"35\" x=\"\">"
      "</event></command>");
}
