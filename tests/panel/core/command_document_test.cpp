// Parsing the phone's command documents, and the bounds that keep a hostile
// document from costing unbounded time, memory or stack.
#include "panel/core/command_document.h"

#include <gtest/gtest.h>

#include "tests/support/fuzz_input.h"

namespace {

// The shape of the descriptions: class names, children in brackets.
std::string Shape(const std::vector<CtrlDescription>& ctrls) {
  std::string out;
  for (const CtrlDescription& d : ctrls) {
    if (!out.empty()) out += ",";
    out += d.attributes->GetString("class");
    if (!d.children.empty()) out += "[" + Shape(d.children) + "]";
  }
  return out;
}

std::string Nested(int depth, const std::string& tag) {
  std::string s;
  for (int i = 0; i < depth; ++i) s += "<" + tag + " class=\"c\">";
  for (int i = 0; i < depth; ++i) s += "</" + tag + ">";
  return s;
}

}  // namespace

TEST(CommandDocumentTest, DescriptionsStartAtTheFirstCtrlAndTakeEveryFollowingSibling) {
  const struct {
    const char* xml;
    const char* name;
    const char* shape;
  } cases[] = {
      {"<command name=\"config\"><ctrl class=\"a\"><ctrl class=\"b\"/><x class=\"c\"/></ctrl></command>",
       "config", "a[b,c]"},
      // Elements before the first "ctrl" are not descriptions; any name after it is.
      {"<cmd name=\"insert\"><item class=\"skip\"/><ctrl class=\"a\"/><item class=\"b\"/></cmd>", "insert",
       "a,b"},
      {"<command name=\"x\">text<ctrl class=\"a\">inner text</ctrl><!-- c --></command>", "x", "a"},
      {"<command/>", "", ""},
  };
  for (const auto& c : cases) {
    CommandDocument document;
    ASSERT_EQ(ParseCommandDocument(c.xml, document), CommandParse::kOk) << c.xml;
    EXPECT_EQ(document.command.GetString("name"), c.name) << c.xml;
    EXPECT_EQ(Shape(document.ctrls), c.shape) << c.xml;
  }
}

TEST(CommandDocumentTest, AttributesKeepDocumentOrderAndTheCodePageBytes) {
  CommandDocument document;
  ASSERT_EQ(ParseCommandDocument("<command name=\"config\"><ctrl id=\"3\" name=\"\xE5\x8E\x9F\xE5\x9B\xBE\" "
                                 "class=\"filter_item\" image=\"again\"/></command>",
                                 document),
            CommandParse::kOk);
  const auto& pairs = document.ctrls.at(0).attributes->pairs();
  ASSERT_EQ(pairs.size(), 4u);
  EXPECT_EQ(pairs[1].value, "\xE5\x8E\x9F\xE5\x9B\xBE");  // passed through unchanged
  EXPECT_EQ(pairs[3].value, "again");
  // The XML parser refuses an element that repeats an attribute.
  EXPECT_EQ(ParseCommandDocument("<command name=\"a\" name=\"b\"/>", document), CommandParse::kNotXml);
}

TEST(CommandDocumentTest, BrokenOrOversizedDocumentsAreRefusedWhole) {
  std::string many = "<command name=\"insert\">";
  for (size_t i = 0; i <= CommandLimits::kMaxCtrlsPerCommand; ++i) many += "<ctrl class=\"a\"/>";
  many += "</command>";
  std::string deepCtrls =
      "<command name=\"config\">" + Nested(CommandLimits::kMaxCtrlDepth + 1, "ctrl") + "</command>";
  std::string deepCtrlsOk =
      "<command name=\"config\">" + Nested(CommandLimits::kMaxCtrlDepth, "ctrl") + "</command>";
  // A million open elements would overflow the parser's stack: the scan refuses it first.
  std::string deepXml = Nested(1000000, "a");
  const struct {
    std::string xml;
    CommandParse expected;
  } cases[] = {
      {"", CommandParse::kNotXml},
      {"<command name=\"config\"><ctrl></command>", CommandParse::kNotXml},
      {"just text", CommandParse::kNotXml},
      {many, CommandParse::kTooManyCtrls},
      {deepCtrls, CommandParse::kTooManyCtrls},
      {deepCtrlsOk, CommandParse::kOk},
      {deepXml, CommandParse::kTooDeep},
      // Quoted ">" and comments do not confuse the depth scan.
      {"<c a=\"<x>\"><!-- <<<< --><![CDATA[<<<]]><?pi <?><d/></c>", CommandParse::kOk},
  };
  for (const auto& c : cases) {
    CommandDocument document;
    EXPECT_EQ(ParseCommandDocument(c.xml, document), c.expected) << c.xml.substr(0, 80);
  }
}

// The documents come from the phone: mutations of a real panel must parse or
// be refused, within the bounds (the sanitizers watch the XML parser too).
TEST(CommandDocumentTest, MutatedDocumentsStayWithinTheBounds) {
  const std::string seed =
      "<command name=\"config\"><ctrl id=\"1\" class=\"op_area\"><ctrl id=\"2\" class=\"tab_holder\" "
      "selected=\"3\">"
      "<ctrl id=\"3\" class=\"tab\" name=\"t\"/></ctrl><ctrl id=\"4\" class=\"page_switch\" selected=\"5\">"
      "<ctrl id=\"5\" class=\"page_list\" col=\"3\"><ctrl id=\"6\" class=\"filter_item\" image=\"a\" "
      "mask_color=\"0xE75988\"/></ctrl></ctrl></ctrl></command>";
  FuzzInput fuzz(20261206);
  for (int round = 0; round < 20000; ++round) {
    std::string text = fuzz.Mutate(seed, 1 + fuzz.Below(8), "<>/\"=ctrl ");
    CommandDocument document;
    if (ParseCommandDocument(text, document) == CommandParse::kOk) {
      ASSERT_LE(document.ctrlCount, CommandLimits::kMaxCtrlsPerCommand);
    }
  }
}
