// The test picture's stamp, in-process: what the simulator draws reads back
// through test_pattern.h in every orientation and layout the desktop's tests
// look at it in. (That the picture survives H.264 coding is the stream tests'.)
#include "tools/phone_simulator/test_pattern.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/phone_simulator/test_decoder.h"
#include "tools/phone_simulator/picture_renderer.h"

namespace {

using phone_sim::PictureRenderer;
using phone_sim::YuvPicture;
using test_pattern::Stamp;

// I420 -> RGB with the BT.601 limited-range inverse (what a decoder does).
RgbPicture ToRgb(const YuvPicture& yuv) {
  RgbPicture out;
  out.width = yuv.width;
  out.height = yuv.height;
  out.rgb.resize(static_cast<size_t>(yuv.width) * yuv.height * 3);
  auto clamp = [](double v) { return static_cast<uint8_t>(std::min(255.0, std::max(0.0, v + 0.5))); };
  for (int y = 0; y < yuv.height; ++y)
    for (int x = 0; x < yuv.width; ++x) {
      double Y = 1.164 * (yuv.y[static_cast<size_t>(y) * yuv.width + x] - 16);
      size_t ci = static_cast<size_t>(y / 2) * (yuv.width / 2) + x / 2;
      double U = yuv.u[ci] - 128.0, V = yuv.v[ci] - 128.0;
      uint8_t* p = &out.rgb[(static_cast<size_t>(y) * yuv.width + x) * 3];
      p[0] = clamp(Y + 1.596 * V);
      p[1] = clamp(Y - 0.391 * U - 0.813 * V);
      p[2] = clamp(Y + 2.018 * U);
    }
  return out;
}

// The test picture of w x h carrying `stamp`, as a decoder would see it.
RgbPicture RenderedRgb(int w, int h, const Stamp& stamp) {
  PictureRenderer renderer(w, h);
  YuvPicture yuv;
  renderer.Render(stamp, &yuv);
  return ToRgb(yuv);
}

// A new picture of size (w, h) whose pixel (x, y) is source(map(x, y)).
RgbPicture Remap(const RgbPicture& src, int w, int h,
                 const std::function<std::pair<int, int>(int, int)>& map) {
  RgbPicture out;
  out.width = w;
  out.height = h;
  out.rgb.resize(static_cast<size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      auto s = map(x, y);
      test_pattern::Rgb c = src.At(s.first, s.second);
      uint8_t* p = &out.rgb[(static_cast<size_t>(y) * w + x) * 3];
      p[0] = c.r;
      p[1] = c.g;
      p[2] = c.b;
    }
  return out;
}

TEST(TestPattern, StampReadsBackInAllEightOrientationsAndWhenScaled) {
  const Stamp sent{0xA5C30F01u, 0x89ABCDEFu};
  const RgbPicture src = RenderedRgb(1280, 720, sent);
  const int W = src.width, H = src.height;
  struct Case {
    const char* name;
    int w, h;
    std::function<std::pair<int, int>(int, int)> map;  // output (x, y) -> source pixel
  };
  std::vector<Case> cases = {
      {"identity", W, H, [](int x, int y) { return std::make_pair(x, y); }},
      {"mirror", W, H, [W](int x, int y) { return std::make_pair(W - 1 - x, y); }},
      {"flip", W, H, [H](int x, int y) { return std::make_pair(x, H - 1 - y); }},
      {"half turn", W, H, [W, H](int x, int y) { return std::make_pair(W - 1 - x, H - 1 - y); }},
      {"clockwise", H, W, [H](int x, int y) { return std::make_pair(y, H - 1 - x); }},
      {"anticlockwise", H, W, [W](int x, int y) { return std::make_pair(W - 1 - y, x); }},
      {"transpose", H, W, [](int x, int y) { return std::make_pair(y, x); }},
      {"anti-transpose", H, W, [W, H](int x, int y) { return std::make_pair(W - 1 - y, H - 1 - x); }},
      // 2/3 scale (as 1920x1080 -> 1280x720) and a centred crop of a taller picture.
      {"scaled 2/3", W * 2 / 3, H * 2 / 3, [](int x, int y) { return std::make_pair(x * 3 / 2, y * 3 / 2); }},
      {"cropped", W, H - 240, [](int x, int y) { return std::make_pair(x, y + 120); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RgbPicture received = Remap(src, c.w, c.h, c.map);
    Stamp read;
    ASSERT_TRUE(received.ReadStamp(&read));
    EXPECT_EQ(read.frame_number, sent.frame_number);
    EXPECT_EQ(read.send_time_ms, sent.send_time_ms);
  }
}

TEST(TestPattern, DamagedStampIsRejected) {
  RgbPicture rgb = RenderedRgb(1280, 720, Stamp{42, 4242});
  Stamp read;
  ASSERT_TRUE(rgb.ReadStamp(&read));
  // Invert one cell of the frame-number field: the CRC no longer matches.
  int cell = test_pattern::StampCellSize(1280, 720);
  int x0 = 640 - 6 * cell, y0 = 360 - 4 * cell;
  for (int y = y0; y < y0 + cell; ++y)
    for (int x = x0; x < x0 + cell; ++x)
      for (int k = 0; k < 3; ++k) rgb.rgb[(static_cast<size_t>(y) * 1280 + x) * 3 + k] ^= 0xFF;
  EXPECT_FALSE(rgb.ReadStamp(&read));
}

}  // namespace
