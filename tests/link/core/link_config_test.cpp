#include "link/core/link_config.h"

#include <gtest/gtest.h>

#include "tests/support/fuzz_input.h"

// Each document parsed over flags starting at 4 and 6.
TEST(LinkConfigTest, DirectChildrenOfTheRootSetTheFlagsByAtoiRules) {
  const struct {
    const char* xml;
    int reverseV, reverseH;
  } cases[] = {
      {"<config><reverse_v>1</reverse_v><reverse_h>1</reverse_h></config>", 1, 1},
      {"<?xml version=\"1.0\"?><x><reverse_h>3</reverse_h></x>", 4, 3},  // any root element
      {"<c><reverse_v>  -7xyz</reverse_v></c>", -7, 6},
      {"<c><reverse_v>+12</reverse_v></c>", 12, 6},
      {"<c><reverse_v>yes</reverse_v></c>", 0, 6},    // no leading number: 0
      {"<c><reverse_v/><other>1</other></c>", 4, 6},  // empty: unchanged
      {"<c><inner><reverse_v>1</reverse_v></inner></c>", 4, 6},
      {"<c><reverse_h>2</reverse_h><reverse_h>9</reverse_h></c>", 4, 2},  // the first wins
      // Malformed or empty documents are ignored.
      {"", 4, 6},
      {"<c><reverse_v>1</reverse_v>", 4, 6},
      {"not xml at all", 4, 6},
      {"<c><reverse_v>1</c>", 4, 6},
      {"<?xml version=\"1.0\"?>", 4, 6},
      {"\xff\xfe<", 4, 6},
  };
  for (const auto& c : cases) {
    LinkConfig config{4, 6};
    ParseLinkConfig(c.xml, &config);
    EXPECT_EQ(config.reverseV, c.reverseV) << c.xml;
    EXPECT_EQ(config.reverseH, c.reverseH) << c.xml;
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
