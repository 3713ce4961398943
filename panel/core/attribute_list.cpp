#include "panel/core/attribute_list.h"

#include <cctype>
#include <climits>
#include <cstdint>

const AttributePair* AttributeList::Find(const std::string& key) const {
  for (const AttributePair& pair : pairs_) {
    if (pair.key == key) return &pair;
  }
  return nullptr;
}

std::string AttributeList::GetString(const std::string& key) const {
  const AttributePair* pair = Find(key);
  return pair ? pair->value : std::string();
}

int AttributeList::GetInt(const std::string& key, int fallback) const {
  const AttributePair* pair = Find(key);
  return pair ? ParseAttributeInt(pair->value) : fallback;
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

int ParseHex(const std::string& digits) {
  size_t i = 0;
  while (i < digits.size() && std::isspace(static_cast<unsigned char>(digits[i]))) ++i;
  uint32_t value = 0;
  for (; i < digits.size(); ++i) {
    int digit = HexDigit(digits[i]);
    if (digit < 0) break;
    value = (value << 4) | static_cast<uint32_t>(digit);
  }
  return static_cast<int>(value);
}

int ParseDecimal(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<int64_t>(INT_MAX) + 1) value = static_cast<int64_t>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace

int ParseAttributeInt(const std::string& value) {
  size_t hex = value.find("0x");
  if (hex != std::string::npos) return ParseHex(value.size() > 2 ? value.substr(2) : std::string());
  return ParseDecimal(value);
}
