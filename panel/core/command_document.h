// One panel command as the phone sends it, parsed and bounded before any
// control is made. The first element is the command (its name is not
// examined); its control descriptions are its first child element named
// "ctrl" and every element after that one as a sibling, whatever its name.
// A description's own descriptions (found the same way) are its children;
// only "config" uses them.
//
// Bounds: the phone decides the document, so a document nested deeper than
// kMaxElementNesting elements is refused before the XML parser sees it (the
// parser recurses per element), and one with more than kMaxCtrlsPerCommand
// descriptions, or descriptions nested deeper than kMaxCtrlDepth, is refused
// whole. A realistic panel is five levels deep and holds a few hundred
// controls.
#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "panel/core/attribute_list.h"

struct CtrlDescription {
  std::unique_ptr<AttributeList> attributes;
  std::vector<CtrlDescription> children;
};

struct CommandDocument {
  AttributeList command;
  std::vector<CtrlDescription> ctrls;
  size_t ctrlCount = 0;  // descriptions at every level
};

enum class CommandParse { kOk, kNotXml, kTooDeep, kTooManyCtrls };

struct CommandLimits {
  static constexpr size_t kMaxElementNesting = 64;
  static constexpr size_t kMaxCtrlDepth = 16;
  static constexpr size_t kMaxCtrlsPerCommand = 1000;
};

// Parses `text` (bytes in the program's code page, passed through unchanged).
// `out` is filled only on kOk.
CommandParse ParseCommandDocument(const std::string& text, CommandDocument& out);
