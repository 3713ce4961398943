// A scan that bounds how deeply a document's elements nest before a
// recursive XML parser sees it: TinyXML recurses once per element, so a
// document from outside (the phone's panel commands, the configuration
// server's reply) nested thousands deep would exhaust the stack.
#pragma once
#include <cstddef>
#include <string>

// The deepest element nesting in `text`, counted by a scan that skips
// comments, processing instructions, declarations, CDATA and quoted attribute
// values; stops counting once `limit` is passed.
size_t ElementNestingDepth(const std::string& text, size_t limit);
