#include "config/core/version_number.h"

namespace {

// atoi of the text from `at` on, modulo 256; out-of-range values wrap
// instead of overflowing.
uint8_t PartValue(const std::string& text, size_t at) {
  size_t i = at;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                             text[i] == '\v' || text[i] == '\f'))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
  return static_cast<uint8_t>(negative ? 0u - value : value);
}

}  // namespace

std::array<uint8_t, 4> ParseVersion(const std::string& text) {
  std::array<uint8_t, 4> bytes{};
  size_t first = text.find('.');
  if (first == std::string::npos) return bytes;
  size_t next = 0;
  bytes[next++] = PartValue(text, 0);
  size_t second = text.find('.', first + 1);
  if (second != std::string::npos) {
    bytes[next++] = PartValue(text, first + 1);
    size_t third = text.find('.', second + 1);
    if (third != std::string::npos) bytes[next++] = PartValue(text, second + 1);
  }
  bytes[next] = PartValue(text, text.rfind('.') + 1);
  return bytes;
}

uint32_t VersionNumber(const std::string& text) {
  std::array<uint8_t, 4> b = ParseVersion(text);
  return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3];
}

bool IsNewerVersion(const std::string& local, const std::string& remote) {
  return VersionNumber(local) < VersionNumber(remote);
}
