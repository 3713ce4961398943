#include "video/core/frame_geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

// A packed RGB picture whose every pixel is distinct (up to 4095 x 4095):
// red and green are the low bytes of x and y, blue holds their high nibbles
// with a fixed bit set, so no two channels of a pixel are alike by accident
// and a misplaced pixel or a swapped channel cannot go unnoticed.
struct RgbPicture {
  int width, height;
  std::vector<uint8_t> bytes;
  RgbPicture(int w, int h) : width(w), height(h), bytes(static_cast<size_t>(w) * h * 3) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint8_t* p = &bytes[(static_cast<size_t>(y) * w + x) * 3];
        p[0] = static_cast<uint8_t>(x & 0xFF);
        p[1] = static_cast<uint8_t>(y & 0xFF);
        p[2] = static_cast<uint8_t>(0x88 ^ ((x >> 8) & 0x0F) ^ (((y >> 8) & 0x0F) << 4));
      }
  }
  const uint8_t* at(int y, int x) const { return &bytes[(static_cast<size_t>(y) * width + x) * 3]; }
};

// The orientation table, written out row by row: the output (row, column),
// counted from the top, of input pixel (y, x).
struct TableRow {
  const char* name;
  bool rotated, flip, mirror;
  int (*row)(int W, int H, int y, int x);
  int (*col)(int W, int H, int y, int x);
};

const TableRow kTable[] = {
    {"plain", false, false, false, [](int, int, int y, int) { return y; },
     [](int, int, int, int x) { return x; }},
    {"flip", false, true, false, [](int, int H, int y, int) { return H - 1 - y; },
     [](int, int, int, int x) { return x; }},
    {"mirror", false, false, true, [](int, int, int y, int) { return y; },
     [](int W, int, int, int x) { return W - 1 - x; }},
    {"flip+mirror", false, true, true, [](int, int H, int y, int) { return H - 1 - y; },
     [](int W, int, int, int x) { return W - 1 - x; }},
    {"clockwise", true, false, false, [](int, int, int, int x) { return x; },
     [](int, int H, int y, int) { return H - 1 - y; }},
    {"rotated+flip", true, true, false, [](int W, int, int, int x) { return W - 1 - x; },
     [](int, int H, int y, int) { return H - 1 - y; }},
    {"rotated+mirror", true, false, true, [](int, int, int, int x) { return x; },
     [](int, int, int y, int) { return y; }},
    {"anticlockwise", true, true, true, [](int W, int, int, int x) { return W - 1 - x; },
     [](int, int, int y, int) { return y; }},
};

// Runs one table row on a picture and checks every pixel of the bottom-up
// BGR result, the padding bytes at each row end included (left untouched).
void CheckTableRow(const TableRow& t, const RgbPicture& pic) {
  SCOPED_TRACE(t.name);
  Orientation o;
  o.rotated = t.rotated;
  o.flip = t.flip;
  o.mirror = t.mirror;
  int ow, oh;
  OrientedSize(pic.width, pic.height, o, &ow, &oh);
  ASSERT_EQ(ow, t.rotated ? pic.height : pic.width);
  ASSERT_EQ(oh, t.rotated ? pic.width : pic.height);
  const int stride = DibStride(ow);
  std::vector<uint8_t> dib(static_cast<size_t>(stride) * oh, 0xEE);
  OrientRgbToBottomUpBgr(pic.bytes.data(), pic.width, pic.height, pic.width * 3, o, dib.data(), stride);

  int mismatches = 0;
  for (int y = 0; y < pic.height; ++y)
    for (int x = 0; x < pic.width; ++x) {
      const int r = t.row(pic.width, pic.height, y, x);
      const int c = t.col(pic.width, pic.height, y, x);
      const uint8_t* out = &dib[static_cast<size_t>(oh - 1 - r) * stride + c * 3];
      const uint8_t* in = pic.at(y, x);
      if (out[0] != in[2] || out[1] != in[1] || out[2] != in[0]) {
        if (++mismatches <= 5)
          ADD_FAILURE() << "input (" << y << "," << x << ") not at (" << r << "," << c << ")";
      }
    }
  EXPECT_EQ(mismatches, 0);
  for (int r = 0; r < oh; ++r)
    for (int b = ow * 3; b < stride; ++b) EXPECT_EQ(dib[static_cast<size_t>(r) * stride + b], 0xEE);
}

TEST(OrientRgbToBottomUpBgr, AllEightTableRowsOnOddThinTiledAndRandomSizes) {
  // An odd width (DIB rows carry padding both ways), single rows and
  // columns, sizes across the 64-pixel tile edge and random ones; the
  // sanitizers catch any read or write outside the two buffers.
  std::vector<std::pair<int, int>> sizes = {{5, 3},  {150, 97}, {1, 1},   {1, 7},   {9, 1},
                                            {64, 1}, {1, 65},   {65, 64}, {63, 129}};
  uint32_t state = 12345;
  auto next = [&state](int n) {
    state = state * 1664525u + 1013904223u;
    return static_cast<int>((state >> 8) % static_cast<uint32_t>(n)) + 1;
  };
  for (int i = 0; i < 12; ++i) sizes.push_back({next(140), next(140)});
  for (auto [w, h] : sizes) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    const RgbPicture pic(w, h);
    for (const TableRow& t : kTable) CheckTableRow(t, pic);
  }
}

// A picture of ow x oh filling a tw x th target: the placement expected.
struct FillCase {
  const char* label;
  int ow, oh, tw, th;
  int left, top, width, height;
  bool cropOnly;
};

class FillPlacementCase : public ::testing::TestWithParam<FillCase> {};

TEST_P(FillPlacementCase, GivesThePlacementWorkedOutByHand) {
  const FillCase& c = GetParam();
  const FillPlacement p = ComputeFillPlacement(c.ow, c.oh, c.tw, c.th);
  EXPECT_EQ(p.left, c.left);
  EXPECT_EQ(p.top, c.top);
  EXPECT_EQ(p.width, c.width);
  EXPECT_EQ(p.height, c.height);
  EXPECT_EQ(p.cropOnly, c.cropOnly);
}

INSTANTIATE_TEST_SUITE_P(
    ComputeFillPlacement, FillPlacementCase,
    ::testing::Values(
        FillCase{"SameAspectScalesWithoutCrop", 1920, 1080, 1280, 720, 0, 0, 1280, 720, false},
        FillCase{"TallerPictureOfTheSameWidthIsOnlyCropped", 1280, 960, 1280, 720, 0, -120, 1280, 960, true},
        FillCase{"WiderPictureOfTheSameHeightIsOnlyCropped", 2560, 720, 1280, 720, -640, 0, 2560, 720, true},
        // Other aspects are scaled, then cropped on both sides.
        FillCase{"FourThreeIntoSixteenNine", 1440, 1080, 1280, 720, 0, -120, 1280, 960, false},
        // Width trunc(1280 * 1.7777778f).
        FillCase{"LandscapeIntoThePortraitOutput", 1280, 720, 720, 1280, (720 - 2275) / 2, 0, 2275, 1280,
                 false},
        FillCase{"SmallerPictureIsEnlarged", 640, 360, 1280, 720, 0, 0, 1280, 720, false}),
    [](const ::testing::TestParamInfo<FillCase>& info) { return std::string(info.param.label); });

}  // namespace
