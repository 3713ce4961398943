#include "config/core/xml_nesting.h"

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
