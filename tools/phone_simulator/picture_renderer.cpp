#include "tools/phone_simulator/picture_renderer.h"

#include <algorithm>
#include <cstring>

namespace phone_sim {

using test_pattern::Rgb;

void YuvPicture::Allocate(int w, int h) {
  width = w;
  height = h;
  y.assign(static_cast<size_t>(w) * h, 0);
  u.assign(static_cast<size_t>(w / 2) * (h / 2), 128);
  v.assign(static_cast<size_t>(w / 2) * (h / 2), 128);
}

Yuv ToYuv(Rgb c) {
  auto clamp = [](int v) { return static_cast<uint8_t>(std::min(255, std::max(0, v))); };
  int y = ((66 * c.r + 129 * c.g + 25 * c.b + 128) >> 8) + 16;
  int u = ((-38 * c.r - 74 * c.g + 112 * c.b + 128) >> 8) + 128;
  int v = ((112 * c.r - 94 * c.g - 18 * c.b + 128) >> 8) + 128;
  return {clamp(y), clamp(u), clamp(v)};
}

// The conversion is affine, so blending the Y, U and V samples is blending
// the colours.
void ApplyTint(const PictureTint& tint, YuvPicture* p) {
  if (tint.alpha <= 0) return;
  const int alpha = std::min(256, tint.alpha);
  const Yuv target = ToYuv(tint.colour);
  auto blend = [alpha](std::vector<uint8_t>& plane, int to) {
    for (uint8_t& sample : plane) sample = static_cast<uint8_t>(sample + (to - sample) * alpha / 256);
  };
  blend(p->y, target.y);
  blend(p->u, target.u);
  blend(p->v, target.v);
}

PictureRenderer::PictureRenderer(int width, int height, int noise)
    : width_(width), height_(height), noise_(std::min(64, std::max(0, noise))) {
  if (noise_ > 0) {
    // A fixed pseudo-random table read from a different offset every frame.
    noise_table_.resize(static_cast<size_t>(width) * height * 2);
    uint32_t state = 0x12345678u;
    for (int8_t& n : noise_table_) {
      state = state * 1664525u + 1013904223u;
      n = static_cast<int8_t>(static_cast<int>((state >> 16) % (2 * noise_ + 1)) - noise_);
    }
  }
  cell_ = test_pattern::StampCellSize(width, height);
  stamp_x0_ = width / 2 - cell_ * test_pattern::kStampColumns / 2;
  stamp_y0_ = height / 2 - cell_ * test_pattern::kStampRows / 2;
  stamp_x1_ = stamp_x0_ + cell_ * test_pattern::kStampColumns;
  stamp_y1_ = stamp_y0_ + cell_ * test_pattern::kStampRows;
}

// Fills [x0, x1) x [y0, y1); coordinates are clipped and rounded to even so
// chroma samples are never shared between two colours.
void PictureRenderer::FillRect(YuvPicture* p, int x0, int y0, int x1, int y1, Rgb colour) const {
  x0 = std::max(0, x0) & ~1;
  y0 = std::max(0, y0) & ~1;
  x1 = std::min(width_, x1) & ~1;
  y1 = std::min(height_, y1) & ~1;
  if (x1 <= x0 || y1 <= y0) return;
  Yuv c = ToYuv(colour);
  for (int row = y0; row < y1; ++row)
    std::memset(&p->y[static_cast<size_t>(row) * width_ + x0], c.y, x1 - x0);
  int cw = p->chroma_width();
  for (int row = y0 / 2; row < y1 / 2; ++row) {
    std::memset(&p->u[static_cast<size_t>(row) * cw + x0 / 2], c.u, (x1 - x0) / 2);
    std::memset(&p->v[static_cast<size_t>(row) * cw + x0 / 2], c.v, (x1 - x0) / 2);
  }
}

// Grey background with diagonal luma stripes that drift 4 pixels a frame:
// texture for the encoder, and no two consecutive frames alike.
void PictureRenderer::DrawBackground(YuvPicture* p, uint32_t frame) const {
  Yuv grey = ToYuv(test_pattern::kBackgroundColour);
  int shift = static_cast<int>((frame * 4u) % 64u);
  // One period of the stripe profile repeated past the widest row; each
  // picture row is a copy of it starting at that row's phase.
  std::vector<uint8_t> stripes(static_cast<size_t>(width_) + 64);
  for (size_t i = 0; i < stripes.size(); ++i) {
    int phase = static_cast<int>(i & 63);
    stripes[i] = static_cast<uint8_t>(grey.y - 24 + (phase < 32 ? phase : 63 - phase) * 3 / 2);
  }
  for (int row = 0; row < height_; ++row)
    std::memcpy(&p->y[static_cast<size_t>(row) * width_], &stripes[(row + shift) & 63], width_);
  if (noise_ > 0) {
    size_t area = static_cast<size_t>(width_) * height_;
    const int8_t* n = &noise_table_[(static_cast<size_t>(frame) * 7919u * 13u) % area];
    for (size_t i = 0; i < area; ++i)
      p->y[i] = static_cast<uint8_t>(p->y[i] + n[i]);  // grey +-88 stays in range
  }
  std::fill(p->u.begin(), p->u.end(), grey.u);
  std::fill(p->v.begin(), p->v.end(), grey.v);
}

// A bar one stamp cell wide sweeping left to right through the middle band,
// one full sweep every 120 frames; it stays out of the corner patches.
void PictureRenderer::DrawBar(YuvPicture* p, uint32_t frame) const {
  int bar_width = std::max(cell_, 8);
  int travel = width_ - bar_width;
  int x = static_cast<int>(static_cast<int64_t>(frame % 120u) * travel / 119);
  int band_top = test_pattern::CornerPatchHeight(height_);
  int band_bottom = height_ - band_top;
  // The stamp, drawn afterwards with its own margin, covers the bar's middle.
  FillRect(p, x, band_top, x + bar_width, band_bottom, test_pattern::kBarColour);
}

void PictureRenderer::DrawStamp(YuvPicture* p, const test_pattern::Stamp& stamp) const {
  bool bits[test_pattern::kStampBits];
  test_pattern::StampBits(stamp, bits);
  // A plain grey margin keeps the stripes away from the cell edges.
  int margin = cell_ / 2;
  FillRect(p, stamp_x0_ - margin, stamp_y0_ - margin, stamp_x1_ + margin, stamp_y1_ + margin,
           test_pattern::kBackgroundColour);
  for (int i = 0; i < test_pattern::kStampBits; ++i) {
    int x = stamp_x0_ + (i % test_pattern::kStampColumns) * cell_;
    int y = stamp_y0_ + (i / test_pattern::kStampColumns) * cell_;
    Rgb colour = bits[i] ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
    FillRect(p, x, y, x + cell_, y + cell_, colour);
  }
}

void PictureRenderer::Render(const test_pattern::Stamp& stamp, YuvPicture* p) const {
  if (p->width != width_ || p->height != height_) p->Allocate(width_, height_);
  DrawBackground(p, stamp.frame_number);
  DrawBar(p, stamp.frame_number);
  int pw = test_pattern::CornerPatchWidth(width_);
  int ph = test_pattern::CornerPatchHeight(height_);
  FillRect(p, 0, 0, pw, ph, test_pattern::kTopLeftColour);
  FillRect(p, width_ - pw, 0, width_, ph, test_pattern::kTopRightColour);
  FillRect(p, 0, height_ - ph, pw, height_, test_pattern::kBottomLeftColour);
  FillRect(p, width_ - pw, height_ - ph, width_, height_, test_pattern::kBottomRightColour);
  DrawStamp(p, stamp);
}

}  // namespace phone_sim
