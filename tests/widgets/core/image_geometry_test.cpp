// The fit-into-a-box sizes and the nine-grid layout, checked by where every
// destination pixel of the drawn pieces takes its colour from.
#include "widgets/core/image_geometry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ScaleToFitSizeTest, WideTallAndExactPictures) {
  struct Case {
    int width, height, box;
    bool force;
    int fittedWidth, fittedHeight;
  } cases[] = {
      {200, 100, 68, false, 68, 34},
      {40, 60, 68, false, 40, 60},
      {40, 60, 68, true, 45, 68},  // 68 * (40 / 60) = 45.33, truncated
      {90, 68, 68, false, 68, 51},
      // Exactly as tall as the box: kept; scaling would lose a column to
      // single-precision rounding (22 * (13 / 22) = 12.99...).
      {13, 22, 22, false, 13, 22},
  };
  for (const Case& c : cases) {
    PixelSize fitted = ScaleToFitSize(c.width, c.height, c.box, c.force);
    EXPECT_EQ(c.fittedWidth, fitted.width) << c.width << "x" << c.height;
    EXPECT_EQ(c.fittedHeight, fitted.height) << c.width << "x" << c.height;
  }
}

// Source pixel index as one character: 0-9 then a-z; '.' where no piece draws.
char Code(int index) {
  if (index < 0) return '.';
  return static_cast<char>(index < 10 ? '0' + index : 'a' + index - 10);
}

struct Source {
  int x = -1, y = -1;
};

constexpr int kOriginX = 7, kOriginY = 3;  // where every destination starts

// Paints the pieces in order into a grid of source coordinates of the w x h
// destination, as AlphaBlend would with nearest-pixel stretching.
std::vector<Source> Paint(const std::vector<BlendPiece>& pieces, int w, int h) {
  std::vector<Source> grid(static_cast<size_t>(w * h));
  for (const BlendPiece& p : pieces)
    for (int y = p.dy; y < p.dy + p.dh; ++y)
      for (int x = p.dx; x < p.dx + p.dw; ++x)
        if (x >= kOriginX && x < kOriginX + w && y >= kOriginY && y < kOriginY + h)
          grid[static_cast<size_t>((y - kOriginY) * w + x - kOriginX)] = {p.sx + (x - p.dx) * p.sw / p.dw,
                                                                          p.sy + (y - p.dy) * p.sh / p.dh};
  return grid;
}

struct NineGridCase {
  const char* name;
  int width, height;  // picture
  NineGridSplits splits;
  int w, h;  // destination at the origin
  // The source column of each destination column and the source row of each
  // destination row, for every pixel of the destination.
  std::string columns, rows;
};

const NineGridCase kNineGridCases[] = {
    {"unset splits: the middle column stretched",
     20,
     10,
     {},
     30,
     10,
     "0123456789aaaaaaaaaaabcdefghij",
     "0123456789"},
    {"smaller than the corners: corners overlap", 20, 10, {}, 12, 6, "01abcdefghij", "056789"},
    {"fixed centre column stretched horizontally", 6, 3, {2, 4, 1, 2}, 10, 3, "0122234445", "012"},
    {"one split line, given once, stretched vertically", 2, 4, {-1, -1, 2, -1}, 2, 7, "01", "0122223"},
    {"one pixel to fill on both axes", 5, 5, {2, 3, 2, 3}, 6, 6, "012334", "012334"},
    {"odd fill on both axes", 5, 5, {2, 3, 2, 3}, 8, 9, "01223334", "012223334"},
    {"scroll thumb: fixed grip band",
     10,
     18,
     {3, 3, 4, 14},
     10,
     57,
     "0123456789",
     "01234444444444444444444456789abcdeeeeeeeeeeeeeeeeeeeeefgh"},
};

TEST(NineGridPiecesTest, EveryDestinationPixelComesFromTheRightSourcePixel) {
  for (const NineGridCase& c : kNineGridCases) {
    SCOPED_TRACE(c.name);
    NineGridSplits s =
        ResolveSplits(PairSplits(c.splits.x1, c.splits.x2, c.splits.y1, c.splits.y2), c.width, c.height);
    std::vector<Source> grid =
        Paint(NineGridPieces(s, c.width, c.height, kOriginX, kOriginY, c.w, c.h), c.w, c.h);
    for (int y = 0; y < c.h; ++y) {
      std::string columns;
      for (int x = 0; x < c.w; ++x) columns += Code(grid[static_cast<size_t>(y * c.w + x)].x);
      EXPECT_EQ(c.columns, columns) << "destination row " << y;
    }
    for (int x = 0; x < c.w; ++x) {
      std::string rows;
      for (int y = 0; y < c.h; ++y) rows += Code(grid[static_cast<size_t>(y * c.w + x)].y);
      EXPECT_EQ(c.rows, rows) << "destination column " << x;
    }
  }
}

}  // namespace
