#include "link/core/link_config.h"

#include <gtest/gtest.h>

#include "tests/support/fuzz_input.h"

namespace {

LinkConfig Parse(const std::string& xml, LinkConfig start = {}) {
  ParseLinkConfig(xml, &start);
  return start;
}

}  // namespace

TEST(LinkConfigTest, ReadsBothFlagsFromAnyRootElement) {
  LinkConfig c = Parse("<config><reverse_v>1</reverse_v><reverse_h>1</reverse_h></config>");
  EXPECT_EQ(c.reverseV, 1);
  EXPECT_EQ(c.reverseH, 1);
  c = Parse("<?xml version=\"1.0\"?><x><reverse_h>3</reverse_h></x>");
  EXPECT_EQ(c.reverseV, 0);
  EXPECT_EQ(c.reverseH, 3);
}

TEST(LinkConfigTest, ValuesFollowAtoiRules) {
  EXPECT_EQ(Parse("<c><reverse_v>  -7xyz</reverse_v></c>").reverseV, -7);
  EXPECT_EQ(Parse("<c><reverse_v>+12</reverse_v></c>").reverseV, 12);
  // Text without a leading number counts as 0, overwriting the old value.
  EXPECT_EQ(Parse("<c><reverse_v>yes</reverse_v></c>", {5, 5}).reverseV, 0);
}

TEST(LinkConfigTest, MissingOrEmptyElementsLeaveFieldsUnchanged) {
  LinkConfig c = Parse("<c><reverse_v/><other>1</other></c>", {4, 6});
  EXPECT_EQ(c.reverseV, 4);
  EXPECT_EQ(c.reverseH, 6);
  // Only direct children of the first element count.
  c = Parse("<c><inner><reverse_v>1</reverse_v></inner></c>");
  EXPECT_EQ(c.reverseV, 0);
  // The first of two elements with the same name wins.
  EXPECT_EQ(Parse("<c><reverse_h>2</reverse_h><reverse_h>9</reverse_h></c>").reverseH, 2);
}

TEST(LinkConfigTest, MalformedOrEmptyTextIsIgnored) {
  for (const char* bad : {"", "<c><reverse_v>1</reverse_v>", "not xml at all", "<c><reverse_v>1</c>",
                          "<?xml version=\"1.0\"?>", "\xff\xfe<"}) {
    const LinkConfig c = Parse(bad, {8, 9});
    EXPECT_EQ(c.reverseV, 8) << bad;
    EXPECT_EQ(c.reverseH, 9) << bad;
  }
}

// The configuration comes from the phone: mutated documents must parse or be
// ignored without harm (the sanitizers watch the XML parser too).
TEST(LinkConfigTest, MutatedDocumentsNeverHarm) {
  const std::string seed =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!-- c --><config a=\"&amp;\"><reverse_v>1</reverse_v>"
      "<reverse_h>&#49;</reverse_h><![CDATA[x]]></config>";
  const char pieces[][8] = {"<", ">", "&", "&#", "&#x", "\"", "</", "/>", "<!--", "]]>", "<?", "\xff", "="};
  FuzzInput fuzz(42);
  int kept = 0, changed = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string doc = fuzz.Mutate(seed, 1 + static_cast<int>(fuzz.Below(6)));
    if (fuzz.Below(2)) doc.insert(fuzz.Below(static_cast<uint32_t>(doc.size() + 1)), pieces[fuzz.Below(13)]);
    LinkConfig config{7, 7};
    ParseLinkConfig(doc, &config);
    (config.reverseV == 7 ? kept : changed)++;
  }
  // The loop reached both outcomes: documents still read and documents ignored.
  EXPECT_GT(kept, 1000);
  EXPECT_GT(changed, 1000);
}
