// PNG files made with FFmpeg's PNG encoder: the simulated phone's tile
// pictures, which the desktop decodes with GDI+.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace phone_sim {

// One picture, 8-bit red, green, blue and alpha per pixel, rows top first.
struct RgbaPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // width * height * 4
};

// The PNG file of `picture` (32-bit RGBA); false with `error` set when the
// encoder is missing or refuses.
bool EncodePng(const RgbaPicture& picture, std::vector<uint8_t>* png, std::string* error);

}  // namespace phone_sim
