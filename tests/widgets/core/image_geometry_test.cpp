// The piece table of the nine-grid picture and the fit-into-a-box sizes.
#include "widgets/core/image_geometry.h"

#include <gtest/gtest.h>

namespace {

bool operator==(const BlendPiece& a, const BlendPiece& b) {
  return a.dx == b.dx && a.dy == b.dy && a.dw == b.dw && a.dh == b.dh && a.sx == b.sx && a.sy == b.sy &&
         a.sw == b.sw && a.sh == b.sh;
}

TEST(ScaleToFitSizeTest, WideAndTallPictures) {
  PixelSize wide = ScaleToFitSize(200, 100, 68, false);
  EXPECT_EQ(68, wide.width);
  EXPECT_EQ(34, wide.height);
  PixelSize small = ScaleToFitSize(40, 60, 68, false);
  EXPECT_EQ(40, small.width);
  EXPECT_EQ(60, small.height);
  PixelSize forced = ScaleToFitSize(40, 60, 68, true);
  EXPECT_EQ(45, forced.width);  // 68 * (40 / 60) = 45.33, truncated
  EXPECT_EQ(68, forced.height);
}

TEST(NineGridSplitsTest, OneSidedPairsTakeTheOtherLine) {
  NineGridSplits s = PairSplits(-1, 7, 3, -1);
  EXPECT_EQ(7, s.x1);
  EXPECT_EQ(7, s.x2);
  EXPECT_EQ(3, s.y1);
  EXPECT_EQ(3, s.y2);
  NineGridSplits unset = ResolveSplits(PairSplits(-1, -1, -1, -1), 20, 10);
  EXPECT_EQ(10, unset.x1);
  EXPECT_EQ(10, unset.x2);
  EXPECT_EQ(5, unset.y1);
  EXPECT_EQ(5, unset.y2);
}

TEST(NineGridPiecesTest, TwentyByTenIntoHundredByTen) {
  NineGridSplits s = ResolveSplits({}, 20, 10);
  std::vector<BlendPiece> pieces = NineGridPieces(s, 20, 10, 0, 0, 100, 10);
  std::vector<BlendPiece> expected = {
      {10, 0, 80, 5, 10, 0, 1, 5},  // top row stretched from column 10
      {10, 5, 80, 5, 10, 5, 1, 5},  // bottom row stretched from column 10
      {0, 0, 10, 5, 0, 0, 10, 5},   // corners, unscaled
      {90, 0, 10, 5, 10, 0, 10, 5}, {0, 5, 10, 5, 0, 5, 10, 5}, {90, 5, 10, 5, 10, 5, 10, 5},
  };
  ASSERT_EQ(expected.size(), pieces.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_TRUE(expected[i] == pieces[i]) << "piece " << i;
}

TEST(NineGridPiecesTest, DestinationSmallerThanCornersDrawsOnlyOverlappingCorners) {
  NineGridSplits s = ResolveSplits({}, 20, 10);
  std::vector<BlendPiece> pieces = NineGridPieces(s, 20, 10, 5, 5, 12, 6);
  ASSERT_EQ(4u, pieces.size());
  // Right corners start at X + W - r = 7, overlapping the left ones (5..15).
  EXPECT_TRUE((BlendPiece{5, 5, 10, 5, 0, 0, 10, 5}) == pieces[0]);
  EXPECT_TRUE((BlendPiece{7, 5, 10, 5, 10, 0, 10, 5}) == pieces[1]);
  // Bottom corners at T + ih = 10 + (6 - 10) = 6.
  EXPECT_TRUE((BlendPiece{5, 6, 10, 5, 0, 5, 10, 5}) == pieces[2]);
  EXPECT_TRUE((BlendPiece{7, 6, 10, 5, 10, 5, 10, 5}) == pieces[3]);
}

TEST(NineGridPiecesTest, FixedCentreBandsKeepTheirSizeAndOddRemaindersAreCovered) {
  // The scroll-bar thumb: 10 x 18 picture, columns split at 3, rows 4..14 fixed.
  NineGridSplits s = ResolveSplits(PairSplits(3, 3, 4, 14), 10, 18);
  std::vector<BlendPiece> pieces = NineGridPieces(s, 10, 18, 0, 0, 10, 57);
  // Every destination row 0..56 of column 0 is covered by some piece.
  for (int row = 0; row < 57; ++row) {
    bool covered = false;
    for (const BlendPiece& p : pieces)
      covered |= p.dx <= 0 && 0 < p.dx + p.dw && p.dy <= row && row < p.dy + p.dh;
    EXPECT_TRUE(covered) << "row " << row;
  }
  // The 10-row centre band is drawn unscaled, centred: ih = 57 - 4 - 4 = 49, hh = 19, CY = 23.
  bool centreUnscaled = false;
  for (const BlendPiece& p : pieces) centreUnscaled |= p.dy == 23 && p.dh == 10 && p.sy == 4 && p.sh == 10;
  EXPECT_TRUE(centreUnscaled);
}

}  // namespace
