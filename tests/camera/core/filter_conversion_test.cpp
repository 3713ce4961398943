// The cameras' pixel conversion: exact values per format, letterboxing and
// the sizes each format refuses.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "camera/core/picture_format.h"

namespace {

struct Bgr {
  uint8_t b, g, r;
};

// A bottom-up BGR picture; `at(x, y)` gives the colour at top-down (x, y).
template <class Colour>
std::vector<uint8_t> MakePicture(int width, int height, Colour at) {
  std::vector<uint8_t> bytes(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const Bgr c = at(x, y);
      uint8_t* p = &bytes[(static_cast<size_t>(height - 1 - y) * width + x) * 3];
      p[0] = c.b, p[1] = c.g, p[2] = c.r;
    }
  return bytes;
}

std::vector<uint8_t> Convert(const std::vector<uint8_t>& bgr, int sw, int sh, CameraFormat format, int w,
                             int h) {
  std::vector<uint8_t> out(CameraFrameBytes(format, w, h), 0xEE);
  FrameConverter converter;
  EXPECT_TRUE(converter.Convert({bgr.data(), sw, sh}, format, w, h, out.data(), out.size()));
  return out;
}

// Reads back one pixel of a converted frame as Y, U, V (or B, G, R for RGB24),
// with (x, y) top-down.
std::vector<int> SampleAt(const std::vector<uint8_t>& f, CameraFormat format, int w, int h, int x, int y) {
  const size_t luma = static_cast<size_t>(w) * h, cx = x / 2, cy = y / 2;
  switch (format) {
    case CameraFormat::kRgb24: {
      const uint8_t* p = &f[static_cast<size_t>(h - 1 - y) * ((w * 3 + 3) & ~3) + x * 3];
      return {p[0], p[1], p[2]};
    }
    case CameraFormat::kYuy2: {
      const uint8_t* p = &f[(static_cast<size_t>(y) * w + (x & ~1)) * 2];
      return {p[(x & 1) * 2], p[1], p[3]};
    }
    case CameraFormat::kI420:
      return {f[y * w + x], f[luma + cy * (w / 2) + cx], f[luma + luma / 4 + cy * (w / 2) + cx]};
    case CameraFormat::kNv12:
      return {f[y * w + x], f[luma + cy * w + cx * 2], f[luma + cy * w + cx * 2 + 1]};
  }
  return {};
}

const CameraFormat kFormats[] = {CameraFormat::kYuy2, CameraFormat::kI420, CameraFormat::kNv12,
                                 CameraFormat::kRgb24};

// Four solid 2x2 quadrants of a 4x4 picture: each format's value for each
// colour, computed by hand (BT.601, limited range).
TEST(FrameConverter, SolidQuadrantsHaveTheExactValuesOfEachFormat) {
  const Bgr white{255, 255, 255}, black{0, 0, 0}, red{0, 0, 255}, blue{255, 0, 0};
  const auto bgr =
      MakePicture(4, 4, [&](int x, int y) { return y < 2 ? (x < 2 ? white : red) : (x < 2 ? blue : black); });
  struct Expected {
    int x, y;
    std::vector<int> yuv, rgb;
  };
  const Expected table[] = {
      {0, 0, {235, 128, 128}, {255, 255, 255}},
      {3, 1, {82, 90, 240}, {0, 0, 255}},
      {1, 3, {41, 240, 110}, {255, 0, 0}},
      {2, 2, {16, 128, 128}, {0, 0, 0}},
  };
  for (CameraFormat format : kFormats) {
    const auto frame = Convert(bgr, 4, 4, format, 4, 4);
    for (const Expected& e : table)
      EXPECT_EQ(format == CameraFormat::kRgb24 ? e.rgb : e.yuv, SampleAt(frame, format, 4, 4, e.x, e.y))
          << "format " << static_cast<int>(format) << " at " << e.x << "," << e.y;
  }
}

// A portrait picture in a landscape frame (and the reverse) is scaled to fit,
// centred between black bars, never stretched: the corners stay where they were.
TEST(FrameConverter, OtherOrientationIsLetterboxedWithItsCornersInPlace) {
  struct Case {
    int sw, sh, w, h;
    FitRect fit;
  };
  const Case cases[] = {{90, 160, 320, 180, {109, 0, 101, 180}}, {160, 90, 180, 320, {0, 109, 180, 101}}};
  const Bgr corners[4] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 255, 255}};
  for (const Case& c : cases) {
    const FitRect fit = FitInside(c.sw, c.sh, c.w, c.h);
    EXPECT_EQ(c.fit.x, fit.x);
    EXPECT_EQ(c.fit.y, fit.y);
    EXPECT_EQ(c.fit.width, fit.width);
    EXPECT_EQ(c.fit.height, fit.height);
    const auto bgr =
        MakePicture(c.sw, c.sh, [&](int x, int y) { return corners[(y >= c.sh / 2) * 2 + (x >= c.sw / 2)]; });
    const auto frame = Convert(bgr, c.sw, c.sh, CameraFormat::kRgb24, c.w, c.h);
    const int inset = 4, right = fit.x + fit.width - 1 - inset, bottom = fit.y + fit.height - 1 - inset;
    const int points[4][2] = {
        {fit.x + inset, fit.y + inset}, {right, fit.y + inset}, {fit.x + inset, bottom}, {right, bottom}};
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ((std::vector<int>{corners[i].b, corners[i].g, corners[i].r}),
                SampleAt(frame, CameraFormat::kRgb24, c.w, c.h, points[i][0], points[i][1]));
    // Bars: just outside the fitted rectangle on both sides.
    const int before[2] = {fit.width < c.w ? fit.x - 1 : 0, fit.height < c.h ? fit.y - 1 : 0};
    const int after[2] = {fit.width < c.w ? fit.x + fit.width : c.w - 1,
                          fit.height < c.h ? fit.y + fit.height : c.h - 1};
    EXPECT_EQ((std::vector<int>{0, 0, 0}),
              SampleAt(frame, CameraFormat::kRgb24, c.w, c.h, before[0], before[1]));
    EXPECT_EQ((std::vector<int>{0, 0, 0}),
              SampleAt(frame, CameraFormat::kRgb24, c.w, c.h, after[0], after[1]));
  }
}

// Odd sizes do not fit 4:2:x sampling; a short buffer or an empty picture is
// refused without touching the output.
TEST(FrameConverter, RefusesSizesTheFormatCannotHoldAndShortBuffers) {
  struct Case {
    CameraFormat format;
    int w, h;
    bool allowed;
  };
  const Case cases[] = {{CameraFormat::kYuy2, 5, 4, false},   {CameraFormat::kYuy2, 4, 5, true},
                        {CameraFormat::kI420, 4, 5, false},   {CameraFormat::kNv12, 5, 4, false},
                        {CameraFormat::kRgb24, 5, 3, true},   {CameraFormat::kRgb24, 0, 4, false},
                        {CameraFormat::kI420, 9000, 2, false}};
  const auto bgr = MakePicture(4, 4, [](int, int) { return Bgr{1, 2, 3}; });
  FrameConverter converter;
  for (const Case& c : cases) {
    EXPECT_EQ(c.allowed, CameraFrameBytes(c.format, c.w, c.h) != 0) << c.w << "x" << c.h;
    std::vector<uint8_t> out(64 * 64 * 4, 0xEE);
    EXPECT_EQ(c.allowed, converter.Convert({bgr.data(), 4, 4}, c.format, c.w, c.h, out.data(), out.size()));
    if (!c.allowed) {
      EXPECT_EQ(0xEE, out[0]);
    }
  }
  std::vector<uint8_t> out(CameraFrameBytes(CameraFormat::kYuy2, 4, 4));
  EXPECT_FALSE(converter.Convert({bgr.data(), 4, 4}, CameraFormat::kYuy2, 4, 4, out.data(), out.size() - 1));
  EXPECT_FALSE(converter.Convert({nullptr, 4, 4}, CameraFormat::kYuy2, 4, 4, out.data(), out.size()));
  // RGB24 rows are padded to four bytes: 5 x 3 bytes take 16 per row.
  EXPECT_EQ(48u, CameraFrameBytes(CameraFormat::kRgb24, 5, 3));
}

}  // namespace
