#include "panel/core/command_document.h"

#include <tinyxml.h>

#include "config/core/xml_nesting.h"

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
