#include "video/core/frame_geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

// A packed w x h RGB picture whose every pixel is distinct (up to 4095 x
// 4095): red and green are the low bytes of x and y, blue holds their high
// nibbles with a fixed bit set, so no two channels of a pixel are alike by
// accident and a misplaced pixel or a swapped channel cannot go unnoticed.
std::vector<uint8_t> CoordinatePicture(int w, int h) {
  std::vector<uint8_t> bytes;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      bytes.insert(bytes.end(), {static_cast<uint8_t>(x & 0xFF), static_cast<uint8_t>(y & 0xFF),
                                 static_cast<uint8_t>(0x88 ^ ((x >> 8) & 0x0F) ^ (((y >> 8) & 0x0F) << 4))});
  return bytes;
}

// Every orientation on odd, thin, tile-crossing and random sizes: the
// output is a permutation of the input with each pixel's bytes in their
// order (each input pixel lands exactly once) and the DIB row padding stays untouched. Where each
// pixel lands is the frame buffer's orientation table; here the sanitizers
// watch the word-wide copies at every edge of both buffers.
TEST(OrientToBottomUp, EveryOrientationMovesEachPixelOnceAndStaysInsideBothBuffers) {
  std::vector<std::pair<int, int>> sizes = {{5, 3},  {150, 97}, {1, 1},   {1, 7},   {9, 1},
                                            {64, 1}, {1, 65},   {65, 64}, {63, 129}};
  uint32_t state = 12345;
  auto next = [&state](int n) {
    state = state * 1664525u + 1013904223u;
    return static_cast<int>((state >> 8) % static_cast<uint32_t>(n)) + 1;
  };
  for (int i = 0; i < 12; ++i) sizes.push_back({next(140), next(140)});
  for (auto [w, h] : sizes)
    for (int bits = 0; bits < 8; ++bits) {
      const Orientation o{(bits & 4) != 0, (bits & 2) != 0, (bits & 1) != 0};
      SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + " orientation " + std::to_string(bits));
      const std::vector<uint8_t> pic = CoordinatePicture(w, h);
      int ow, oh;
      OrientedSize(w, h, o, &ow, &oh);
      ASSERT_EQ(ow, o.rotated ? h : w);
      ASSERT_EQ(oh, o.rotated ? w : h);
      const int stride = DibStride(ow);
      std::vector<uint8_t> dib(static_cast<size_t>(stride) * oh, 0xEE);
      OrientToBottomUp(pic.data(), w, h, w * 3, o, dib.data(), stride);
      std::vector<bool> seen(static_cast<size_t>(w) * h, false);
      for (int r = 0; r < oh; ++r) {
        const uint8_t* row = &dib[static_cast<size_t>(r) * stride];
        for (int c = 0; c < ow; ++c) {
          const uint8_t* p = row + c * 3;
          const int x = p[0] | (((p[2] ^ 0x88) & 0x0F) << 8), y = p[1] | (((p[2] ^ 0x88) >> 4) << 8);
          ASSERT_TRUE(x < w && y < h && !seen[static_cast<size_t>(y) * w + x]) << "row " << r << " col " << c;
          seen[static_cast<size_t>(y) * w + x] = true;
        }
        for (int b = ow * 3; b < stride; ++b) ASSERT_EQ(row[b], 0xEE) << "padding of row " << r;
      }
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
