// Pure picture geometry of the frame buffer: which way a decoded picture is
// turned and mirrored, how it is copied into the Windows DIB layout, and the
// fill-and-crop rectangle that fits it into the output size.
#pragma once
#include <cstddef>
#include <cstdint>

// Output sizes: every queued frame is one of these.
constexpr int kLandscapeWidth = 1280;
constexpr int kLandscapeHeight = 720;

// How one decoded picture is oriented for the output.
struct Orientation {
  bool rotated = false;  // turned by a quarter: the oriented picture is H wide and W high
  bool flip = false;     // effective vertical flip
  bool mirror = false;   // effective horizontal mirror
};

// The phone's flags (from the handshake) combined with the user's toggles,
// which invert them; the picture is rotated when its own orientation
// (portrait when width < height) differs from the output orientation.
Orientation ChooseOrientation(int width, int height, bool portraitOutput, int reverseV, int reverseH,
                              int userMirror, int userFlip);

// Size of the oriented picture for an input of width x height.
void OrientedSize(int width, int height, const Orientation& o, int* outWidth, int* outHeight);

// Bytes per row of a 24-bit DIB: the row rounded up to a multiple of 4.
inline int DibStride(int width) {
  return (width * 3 + 3) & ~3;
}

// Copies a packed 24-bit picture (rows of srcStride bytes, three bytes per
// pixel, kept in their order) into a bottom-up buffer of the oriented size,
// rows dstStride bytes apart (the first row in memory is the bottom row of
// the picture). Input pixel (y, x) lands at output (row, column) counted
// from the top:
//   not rotated: (y, x), flip -> H-1-y, mirror -> W-1-x
//   rotated:     (x, H-1-y) (a quarter turn clockwise), flip -> W-1-x, mirror -> y
// dst must hold DibStride-sized rows for the whole oriented picture.
void OrientToBottomUp(const uint8_t* src, int width, int height, int srcStride, const Orientation& o,
                      uint8_t* dst, int dstStride);

// Where the oriented picture (ow x oh) is drawn inside the target (tw x th)
// so that it fills the target, keeping its aspect ratio and cropping the
// overflow equally on both sides. Computed in single precision.
struct FillPlacement {
  int left = 0;    // 0 or negative
  int top = 0;     // 0 or negative
  int width = 0;   // drawn width, >= tw
  int height = 0;  // drawn height, >= th
  // True when only cropping is needed (one side already matches, the other
  // overflows): a plain copy, no resampling.
  bool cropOnly = false;
};
FillPlacement ComputeFillPlacement(int ow, int oh, int tw, int th);

// The size of a frameWidth x frameHeight picture fitted whole inside an
// area (aspect kept, the rest left for bars), in single precision as the
// preview computes it; 0 x 0 when any size is not positive.
void FitSize(int areaWidth, int areaHeight, int frameWidth, int frameHeight, int* width, int* height);

// The fill-and-crop rule seen from the source: the rectangle of the decoded
// picture (before orientation) that stays visible in the target, and the
// size it is scaled to so that orienting the scaled picture gives exactly
// the target (tw x th, or th x tw when the orientation turns it). Scaling
// only the visible rectangle skips the cropped pixels and keeps the scaled
// picture at the output size. The rectangle is the placement's visible part
// mapped back through the orientation, rounded to whole source pixels.
struct SourceCrop {
  int x = 0, y = 0, width = 0, height = 0;  // in the decoded picture
  int scaledWidth = 0, scaledHeight = 0;    // before orientation
};
SourceCrop ComputeSourceCrop(int width, int height, const Orientation& o, int tw, int th);
