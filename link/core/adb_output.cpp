#include "link/core/adb_output.h"

#include <cstring>

void AppendAdbOutputChunk(std::string& output, const char* chunk, size_t size) {
  const void* nul = std::memchr(chunk, '\0', size);
  output.append(chunk, nul ? static_cast<size_t>(static_cast<const char*>(nul) - chunk) : size);
}

void ParseAdbDevices(const std::string& output, std::vector<std::string>& serials) {
  static const char kMarker[] = "\tdevice";
  const size_t markerLength = sizeof(kMarker) - 1;
  size_t segmentStart = 0;
  for (size_t p = output.find(kMarker, segmentStart); p != std::string::npos;
       p = output.find(kMarker, segmentStart)) {
    // The segment [segmentStart, p) ends with the serial of this marker's line.
    if (p > segmentStart) {
      size_t lineFeed = output.rfind('\n', p - 1);
      if (lineFeed != std::string::npos && lineFeed >= segmentStart && lineFeed + 1 < p) {
        serials.push_back(output.substr(lineFeed + 1, p - (lineFeed + 1)));
      }
    }
    segmentStart = p + markerLength;
  }
}

namespace {

// The bracketed value after the first occurrence of `key`; false when the key
// is missing or no complete "[...]" follows it.
bool ValueAfterKey(const std::string& output, const char* key, std::string& value) {
  size_t at = output.find(key);
  if (at == std::string::npos) return false;
  size_t s = at + std::strlen(key);
  if (s >= output.size()) return false;
  size_t open = output.find('[', s);
  if (open == std::string::npos) return false;
  size_t v = open + 1;
  if (v >= output.size()) return false;
  size_t close = output.find(']', v);
  if (close == std::string::npos) return false;
  value = output.substr(v, close - v);
  return true;
}

}  // namespace

bool ParseGetpropModel(const std::string& output, std::string& model) {
  static const char* const kKeys[] = {"[ro.product.model]", "[ro.product.name]", "[ro.build.product]"};
  for (const char* key : kKeys) {
    std::string value;
    if (ValueAfterKey(output, key, value)) {
      model = value;
      return true;
    }
  }
  return false;
}
