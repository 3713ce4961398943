// Size and piece arithmetic of the image helpers, free of any platform API.
#pragma once
#include <vector>

struct PixelSize {
  int width = 0;
  int height = 0;
};

// The size a picture of width x height gets in a square box of `box` pixels:
// unchanged when it fits and `force` is false, else scaled so that its longer
// side is `box` (the shorter side truncated).
PixelSize ScaleToFitSize(int width, int height, int box, bool force);

// Split lines of a nine-grid picture; [x1, x2) and [y1, y2) are the fixed
// centre pieces, -1 means "not set".
struct NineGridSplits {
  int x1 = -1, x2 = -1, y1 = -1, y2 = -1;
};

// The rule of SetSplits: when exactly one line of a pair is -1 it takes the other's value.
NineGridSplits PairSplits(int x1, int x2, int y1, int y2);
// The rule at drawing time: a pair with both lines unset splits the picture in the middle.
NineGridSplits ResolveSplits(NineGridSplits splits, int width, int height);

// One AlphaBlend call: destination rectangle from source rectangle.
struct BlendPiece {
  int dx, dy, dw, dh;
  int sx, sy, sw, sh;
};

// The pieces that draw a width x height picture, split by `s` (resolved),
// into the destination (x, y, w, h), in drawing order. Stretch bands come
// first, the fixed centre pieces next, the corners last so they cover any
// overlap. Pieces with an empty destination or source are left out.
std::vector<BlendPiece> NineGridPieces(const NineGridSplits& s, int width, int height, int x, int y, int w,
                                       int h);
