// Draws the simulator's moving test picture (test_pattern.h) straight into
// planar YUV 4:2:0 (I420), the encoder's input format.
#pragma once
#include <cstdint>
#include <vector>

#include "tools/phone_simulator/test_pattern.h"

namespace phone_sim {

// One I420 picture with tightly packed planes.
struct YuvPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> y, u, v;  // width*height, and (width/2)*(height/2) each

  void Allocate(int w, int h);
  int chroma_width() const { return width / 2; }
};

// BT.601 limited-range colour, the conversion a decoder assumes for an
// unsignalled stream.
struct Yuv {
  uint8_t y, u, v;
};
Yuv ToYuv(test_pattern::Rgb rgb);

// A colour filter over the whole picture: every sample moves toward
// `colour` by `alpha` / 256 (0 leaves the picture untouched).
struct PictureTint {
  test_pattern::Rgb colour{0, 0, 0};
  int alpha = 0;
};
void ApplyTint(const PictureTint& tint, YuvPicture* picture);

class PictureRenderer {
 public:
  // Width and height must be even and at least 64. `noise` (0-64) adds
  // per-pixel luma noise that changes every frame, as a camera sensor does,
  // to the background: a harder, more realistic stream to encode and decode.
  PictureRenderer(int width, int height, int noise = 0);

  // Draws frame `stamp.frame_number`: the animation advances with the frame
  // number, the stamp carries both fields.
  void Render(const test_pattern::Stamp& stamp, YuvPicture* picture) const;

  int width() const { return width_; }
  int height() const { return height_; }

 private:
  void FillRect(YuvPicture* p, int x0, int y0, int x1, int y1, test_pattern::Rgb colour) const;
  void DrawBackground(YuvPicture* p, uint32_t frame) const;
  void DrawBar(YuvPicture* p, uint32_t frame) const;
  void DrawStamp(YuvPicture* p, const test_pattern::Stamp& stamp) const;

  int width_;
  int height_;
  int noise_;
  std::vector<int8_t> noise_table_;  // two pictures' worth of noise samples
  int cell_;                         // stamp cell edge
  int stamp_x0_, stamp_y0_;          // top-left of the stamp grid
  int stamp_x1_, stamp_y1_;          // bottom-right (exclusive)
};

}  // namespace phone_sim
