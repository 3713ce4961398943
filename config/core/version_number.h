// Dotted version texts as the update check compares them: four bytes, the
// first most significant.
#pragma once
#include <array>
#include <cstdint>
#include <string>

// Up to four parts from the front: the part before the first ".", the parts
// between the first and second and the second and third ".", and the part
// after the last "." (so a fifth part replaces the fourth). Each part is read
// like atoi (blanks, a sign, leading digits) and kept modulo 256; a text
// without "." is 0.0.0.0.
std::array<uint8_t, 4> ParseVersion(const std::string& text);

// The four bytes as one number, b0 * 2^24 + b1 * 2^16 + b2 * 2^8 + b3.
uint32_t VersionNumber(const std::string& text);

// True when `remote` is a later version than `local`.
bool IsNewerVersion(const std::string& local, const std::string& remote);
