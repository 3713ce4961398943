#include "widgets/core/control_geometry.h"

#include <algorithm>
#include <cstdint>

int ScrollThumbHeight(int barHeight, int range, int page) {
  if (range < 1) return barHeight;
  int proportional = static_cast<int>(static_cast<int64_t>(barHeight) * page / range);
  return std::max(kMinThumbHeight, proportional);
}

int ScrollThumbOffset(int barHeight, int thumbHeight, int range, int page, int position) {
  if (range - page < 1) return 0;
  return static_cast<int>(static_cast<int64_t>(barHeight - thumbHeight) * position / (range - page));
}

int ScrollPositionFromOffset(int barHeight, int thumbHeight, int range, int page, int thumbOffset) {
  int track = barHeight - thumbHeight;
  if (track <= 0) return 0;
  return static_cast<int>(static_cast<int64_t>(range - page) * thumbOffset / track);
}

int ClampScrollPosition(int value, int range, int page) {
  return std::max(0, std::min(value, range - page));
}

int SliderValueFromX(int x, int left, int right, int thumbWidth, int minimum, int maximum) {
  int track = right - thumbWidth - left;
  if (maximum <= minimum || track <= 0) return minimum;
  int64_t value = minimum + static_cast<int64_t>(maximum - minimum) * (x - thumbWidth / 2) / track;
  return static_cast<int>(std::clamp<int64_t>(value, minimum, maximum));
}

int SliderThumbLeft(int value, int left, int right, int thumbWidth, int minimum, int maximum) {
  int track = right - thumbWidth - left;
  if (maximum <= minimum || track <= 0) return 0;
  return static_cast<int>(static_cast<int64_t>(track) * (value - minimum) / (maximum - minimum));
}
