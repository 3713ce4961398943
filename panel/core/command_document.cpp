#include "panel/core/command_document.h"

#include <tinyxml.h>

#include <cstring>

size_t ElementNestingDepth(const std::string& text, size_t limit) {
  size_t depth = 0, deepest = 0;
  const size_t n = text.size();
  auto skipPast = [&](size_t from, const char* end) {
    size_t at = text.find(end, from);
    return at == std::string::npos ? n : at + std::strlen(end);
  };
  for (size_t i = 0; i < n && deepest <= limit;) {
    if (text[i] != '<') {
      ++i;
      continue;
    }
    if (text.compare(i, 4, "<!--") == 0) {
      i = skipPast(i + 4, "-->");
    } else if (text.compare(i, 9, "<![CDATA[") == 0) {
      i = skipPast(i + 9, "]]>");
    } else if (i + 1 < n && (text[i + 1] == '?' || text[i + 1] == '!')) {
      i = skipPast(i + 2, ">");
    } else if (i + 1 < n && text[i + 1] == '/') {
      if (depth > 0) --depth;
      i = skipPast(i + 2, ">");
    } else {
      // An opening tag: find its end outside quoted values; "/>" closes it at once.
      char quote = 0;
      size_t j = i + 1;
      for (; j < n; ++j) {
        char c = text[j];
        if (quote) {
          if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
          quote = c;
        } else if (c == '>') {
          break;
        }
      }
      bool selfClosing = j < n && text[j - 1] == '/';
      if (!selfClosing && ++depth > deepest) deepest = depth;
      i = j + 1;
    }
  }
  return deepest;
}

namespace {

std::unique_ptr<AttributeList> AttributesOf(const TiXmlElement& element) {
  auto list = std::make_unique<AttributeList>();
  for (const TiXmlAttribute* a = element.FirstAttribute(); a; a = a->Next()) list->Add(a->Name(), a->Value());
  return list;
}

// Reads the descriptions under `element`; false when a bound is passed.
bool ReadDescriptions(const TiXmlElement& element, size_t depth, std::vector<CtrlDescription>& out,
                      size_t& count) {
  const TiXmlElement* first = element.FirstChildElement("ctrl");
  if (!first) return true;
  if (depth > CommandLimits::kMaxCtrlDepth) return false;
  for (const TiXmlElement* e = first; e; e = e->NextSiblingElement()) {
    if (++count > CommandLimits::kMaxCtrlsPerCommand) return false;
    CtrlDescription description;
    description.attributes = AttributesOf(*e);
    if (!ReadDescriptions(*e, depth + 1, description.children, count)) return false;
    out.push_back(std::move(description));
  }
  return true;
}

}  // namespace

CommandParse ParseCommandDocument(const std::string& text, CommandDocument& out) {
  if (ElementNestingDepth(text, CommandLimits::kMaxElementNesting) > CommandLimits::kMaxElementNesting)
    return CommandParse::kTooDeep;
  TiXmlDocument document;
  document.Parse(text.c_str(), nullptr, TIXML_ENCODING_UNKNOWN);
  const TiXmlElement* command = document.RootElement();
  if (document.Error() || !command) return CommandParse::kNotXml;

  CommandDocument parsed;
  for (const TiXmlAttribute* a = command->FirstAttribute(); a; a = a->Next())
    parsed.command.Add(a->Name(), a->Value());
  if (!ReadDescriptions(*command, 1, parsed.ctrls, parsed.ctrlCount)) return CommandParse::kTooManyCtrls;
  out = std::move(parsed);
  return CommandParse::kOk;
}
