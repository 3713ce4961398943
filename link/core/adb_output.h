// Parsers for what adb prints: the "devices" listing and a shell's getprop
// dump, plus the rule by which raw output chunks are joined.
//
// The text is 8-bit text of the process code page. Here that is UTF-8, whose
// multi-byte sequences never contain the ASCII bytes searched for (tab, line
// feed, brackets), so byte searches never match inside a character.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Appends one chunk as read from the child's output, taken up to its first
// NUL byte (the rest of that chunk is dropped; later chunks still count).
void AppendAdbOutputChunk(std::string& output, const char* chunk, size_t size);

// Appends the serial of every device line in the device state, in the order
// printed. A device line is "<serial>\t device"; only the text between the
// last line feed before a "\tdevice" marker and the marker is a serial, so
// the header, offline/unauthorized lines, error text and a marker at the very
// start of the output yield nothing; empty serials are skipped; CR of CR LF
// line ends stays on the previous line. Serials are not de-duplicated.
void ParseAdbDevices(const std::string& output, std::vector<std::string>& serials);

// The display model from a getprop dump ("[key]: [value]" lines): the value
// of the first of "[ro.product.model]", "[ro.product.name]",
// "[ro.build.product]" that yields one, even when that value is empty. False
// when no key yields a value (`model` is then left unchanged).
bool ParseGetpropModel(const std::string& output, std::string& model);
