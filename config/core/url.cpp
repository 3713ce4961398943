#include "config/core/url.h"

bool ParseUrl(const std::string& url, std::string& host, std::string& path) {
  size_t scheme = url.find("://");
  size_t start = scheme == std::string::npos ? 0 : scheme + 3;
  if (start >= url.size()) return false;
  size_t slash = url.find('/', start);
  if (slash == std::string::npos) return false;
  host = url.substr(start, slash - start);
  path = url.substr(slash);
  return true;
}

bool SplitHostPort(const std::string& host, std::string& name, int& port) {
  size_t colon = host.rfind(':');
  if (colon == std::string::npos) {
    if (host.empty()) return false;
    name = host;
    port = 80;
    return true;
  }
  std::string digits = host.substr(colon + 1);
  if (colon == 0 || digits.empty() || digits.size() > 5) return false;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > 65535) return false;
  name = host.substr(0, colon);
  port = value;
  return true;
}
