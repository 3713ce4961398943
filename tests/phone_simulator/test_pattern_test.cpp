// The test picture's stamp, in-process: what the simulator draws reads back
// through test_pattern.h in every orientation and layout the desktop's tests
// look at it in. (That the picture survives H.264 coding is the stream tests'.)
#include "tools/phone_simulator/test_pattern.h"

#include <gtest/gtest.h>

#include <functional>

#include "tools/phone_simulator/picture_renderer.h"

namespace {

using phone_sim::PictureRenderer;
using phone_sim::YuvPicture;
using test_pattern::Stamp;

YuvPicture Rendered(int w, int h, const Stamp& stamp) {
  PictureRenderer renderer(w, h);
  YuvPicture yuv;
  renderer.Render(stamp, &yuv);
  return yuv;
}

// The stamp read from a picture of w x h whose pixel (x, y) is the source's
// map(x, y); the luma plane stands for the brightness a decoder shows.
bool ReadRemapped(const YuvPicture& src, int w, int h,
                  const std::function<std::pair<int, int>(int, int)>& map, Stamp* read) {
  auto luma = [&](int x, int y) {
    const auto s = map(x, y);
    return static_cast<int>(src.y[static_cast<size_t>(s.second) * src.width + s.first]);
  };
  return test_pattern::ReadStamp(luma, w, h, read);
}

TEST(TestPattern, StampReadsBackInAllEightOrientationsAndWhenScaledButNotWhenDamaged) {
  const Stamp sent{0xA5C30F01u, 0x89ABCDEFu};
  const int W = 1280, H = 720;
  const YuvPicture src = Rendered(W, H, sent);
  struct Case {
    const char* name;
    int w, h;
    std::function<std::pair<int, int>(int, int)> map;  // output (x, y) -> source pixel
  };
  const std::vector<Case> cases = {
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
    Stamp read;
    ASSERT_TRUE(ReadRemapped(src, c.w, c.h, c.map, &read));
    EXPECT_EQ(read.frame_number, sent.frame_number);
    EXPECT_EQ(read.send_time_ms, sent.send_time_ms);
  }
  // Inverting one cell of the frame-number field breaks the CRC: no stamp.
  YuvPicture damaged = src;
  const int cell = test_pattern::StampCellSize(W, H), x0 = W / 2 - 6 * cell, y0 = H / 2 - 4 * cell;
  for (int y = y0; y < y0 + cell; ++y)
    for (int x = x0; x < x0 + cell; ++x) damaged.y[static_cast<size_t>(y) * W + x] ^= 0xFF;
  Stamp read;
  EXPECT_FALSE(ReadRemapped(damaged, W, H, cases[0].map, &read));
}

}  // namespace
