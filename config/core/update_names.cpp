#include "config/core/update_names.h"

#include <cstring>

bool UpdateFileNames(const std::string& url, std::string& fileName, std::string& tempName) {
  size_t slash = url.rfind('/');
  std::string name = slash == std::string::npos ? url : url.substr(slash + 1);
  name = name.substr(0, name.find('?'));
  if (name.empty() || name.size() > 200 || name == "." || name == "..") return false;
  for (unsigned char c : name)
    if (c < 0x20 || std::strchr("\\/:*?\"<>|", c)) return false;
  fileName = name;
  tempName = name.substr(0, name.rfind('.')) + ".tmp";
  return true;
}
