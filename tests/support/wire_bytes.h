// Link wire bytes built independently of the code under test: a 32-bit
// little-endian number and one frame (type, length, payload).
#pragma once
#include <cstdint>
#include <string>

inline std::string Le32(uint32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

inline std::string Frame(uint32_t type, const std::string& payload) {
  return Le32(type) + Le32(static_cast<uint32_t>(payload.size())) + payload;
}
