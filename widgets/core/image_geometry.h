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

// A stretch of one axis: `length` destination pixels from `at`, taken from
// `sourceLength` picture pixels from `source`.
struct AxisSpan {
  int at, length;
  int source, sourceLength;
};

// How one axis of a nine-grid picture is laid out in its destination. The
// picture's axis is cut by two split lines into three spans: the leading
// edge, the fixed centre and the trailing edge, each drawn unscaled. The
// room left over is filled by repeating the pixel line at a split line.
struct NineGridAxis {
  AxisSpan leading;   // picture 0..split1, at the start
  AxisSpan centre;    // picture split1..split2, in the middle of the room left
  AxisSpan trailing;  // picture split2..end, at the end
  // Fill bands for split lines apart (split1 < split2): before the centre
  // from split1 and after it from split2; the band after is one pixel
  // wider, so an odd remainder leaves no seam.
  AxisSpan beforeCentre, afterCentre;
  // The one fill band for coinciding split lines, between the edges.
  AxisSpan between;
  // The quarters where fill bands of both axes cross, from split1 and split2,
  // each half the room rounded up so that the pair meets.
  AxisSpan crossBefore, crossAfter;
  bool stretched;  // there is room to fill beyond the centre
  bool splitApart;
};

// The layout of a picture axis `pictureLength` long, split at `split1` and
// `split2` (resolved), into the destination from `origin`, `length` long.
NineGridAxis LayOutNineGridAxis(int split1, int split2, int pictureLength, int origin, int length);

// The pieces that draw a width x height picture, split by `s` (resolved),
// into the destination (x, y, w, h), in drawing order. Stretch bands come
// first, the fixed centre pieces next, the corners last so they cover any
// overlap. Pieces with an empty destination or source are left out.
std::vector<BlendPiece> NineGridPieces(const NineGridSplits& s, int width, int height, int x, int y, int w,
                                       int h);
