#include "config/core/update_signature.h"

namespace {

const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string Trimmed(const std::string& text) {
  const char* blanks = " \t\r\n";
  size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

int Base64Value(char c) {
  for (int i = 0; i < 64; ++i)
    if (kBase64[i] == c) return i;
  return -1;
}

}  // namespace

bool DecodeHex(const std::string& text, std::string& bytes, size_t maxBytes) {
  std::string hex = Trimmed(text);
  if (hex.size() % 2 || hex.size() / 2 > maxBytes) return false;
  std::string out;
  for (size_t i = 0; i < hex.size(); i += 2) {
    int high = HexValue(hex[i]), low = HexValue(hex[i + 1]);
    if (high < 0 || low < 0) return false;
    out += static_cast<char>(high * 16 + low);
  }
  bytes = out;
  return true;
}

std::string EncodeHex(const std::string& bytes) {
  const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

bool DecodeBase64(const std::string& text, std::string& bytes, size_t maxBytes) {
  std::string b64 = Trimmed(text);
  if (b64.size() % 4 || b64.size() / 4 * 3 > maxBytes + 2) return false;
  std::string out;
  for (size_t i = 0; i < b64.size(); i += 4) {
    const bool last = i + 4 == b64.size();
    int pad = 0;
    unsigned value = 0;
    for (size_t j = 0; j < 4; ++j) {
      char c = b64[i + j];
      int v = Base64Value(c);
      // "=" only at the end of the last group, at most two of them.
      if (c == '=' && last && j >= 2 && (j == 3 || b64[i + 3] == '=')) {
        ++pad;
        v = 0;
      } else if (v < 0 || pad) {
        return false;
      }
      value = value << 6 | static_cast<unsigned>(v);
    }
    out += static_cast<char>(value >> 16);
    if (pad < 2) out += static_cast<char>(value >> 8 & 0xFF);
    if (pad < 1) out += static_cast<char>(value & 0xFF);
  }
  if (out.size() > maxBytes) return false;
  bytes = out;
  return true;
}

std::string EncodeBase64(const std::string& bytes) {
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    unsigned value = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) value |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) value |= static_cast<unsigned char>(bytes[i + 2]);
    out += kBase64[value >> 18];
    out += kBase64[value >> 12 & 63];
    out += i + 1 < bytes.size() ? kBase64[value >> 6 & 63] : '=';
    out += i + 2 < bytes.size() ? kBase64[value & 63] : '=';
  }
  return out;
}

std::string UpdateSignedMessage(const std::string& version, const std::string& url,
                                const std::string& digest) {
  return "vela-update-1\n" + version + "\n" + url + "\n" + EncodeHex(digest) + "\n";
}
