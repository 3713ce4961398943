#include "video/core/frame_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>

Orientation ChooseOrientation(int width, int height, bool portraitOutput, int reverseV, int reverseH,
                              int userMirror, int userFlip) {
  Orientation o;
  o.flip = reverseV != 0;
  o.mirror = reverseH != 0;
  if (userMirror != 0) o.mirror = !o.mirror;
  if (userFlip != 0) o.flip = !o.flip;
  const bool portraitPicture = width < height;
  o.rotated = portraitPicture != portraitOutput;
  return o;
}

void OrientedSize(int width, int height, const Orientation& o, int* outWidth, int* outHeight) {
  *outWidth = o.rotated ? height : width;
  *outHeight = o.rotated ? width : height;
}

namespace {

inline void CopyPixel(const uint8_t* s, uint8_t* d) {
  d[0] = s[0];
  d[1] = s[1];
  d[2] = s[2];
}

// One output row (counted from the top) starts at source pixel `first` and
// walks the source by `step` bytes per output column.
void CopyRowBytewise(const uint8_t* first, ptrdiff_t step, int count, uint8_t* d) {
  for (int c = 0; c < count; ++c, first += step, d += 3) CopyPixel(first, d);
}

// The same with one 4-byte load and one 4-byte store per pixel. The store's
// fourth byte lands on the next output pixel, which is written next, so the
// last pixel is stored bytewise. Each load reads one byte past its pixel:
// the caller uses this only where that byte is inside the source buffer.
void CopyRowWordwise(const uint8_t* first, ptrdiff_t step, int count, uint8_t* d) {
  if (count <= 0) return;
  for (int c = 0; c < count - 1; ++c, first += step, d += 3) {
    uint32_t v;
    std::memcpy(&v, first, 4);
    std::memcpy(d, &v, 4);
  }
  CopyPixel(first, d);
}

}  // namespace

void OrientToBottomUp(const uint8_t* src, int width, int height, int srcStride, const Orientation& o,
                      uint8_t* dst, int dstStride) {
  if (!src || !dst || width <= 0 || height <= 0) return;
  int ow, oh;
  OrientedSize(width, height, o, &ow, &oh);
  auto dstRow = [&](int row) { return dst + static_cast<ptrdiff_t>(oh - 1 - row) * dstStride; };
  // Only the source's very last pixel has no byte after it; the one output
  // row that reads it is copied bytewise.
  auto copyRow = [](bool readsLastPixel) { return readsLastPixel ? CopyRowBytewise : CopyRowWordwise; };

  if (!o.rotated) {
    // Output row r comes from one source row, copied as it is or walked backwards.
    for (int row = 0; row < oh; ++row) {
      const int y = o.flip ? height - 1 - row : row;
      const uint8_t* line = src + static_cast<ptrdiff_t>(y) * srcStride;
      if (!o.mirror)
        std::memcpy(dstRow(row), line, static_cast<size_t>(ow) * 3);
      else
        copyRow(y == height - 1)(line + (width - 1) * 3, -3, ow, dstRow(row));
    }
    return;
  }

  // Rotated: output row r is source column x (W-1-r with flip), walked down the
  // source rows (mirror) or up them. Column walks touch one byte triple per
  // source row, so work in tiles that keep the touched source rows in cache.
  const ptrdiff_t step = o.mirror ? srcStride : -static_cast<ptrdiff_t>(srcStride);
  const int y0 = o.mirror ? 0 : height - 1;
  constexpr int kTile = 64;
  for (int colStart = 0; colStart < ow; colStart += kTile) {
    const int cols = std::min(kTile, ow - colStart);
    for (int row = 0; row < oh; ++row) {
      const int x = o.flip ? width - 1 - row : row;
      const uint8_t* first = src + y0 * static_cast<ptrdiff_t>(srcStride) + x * 3 + step * colStart;
      copyRow(x == width - 1)(first, step, cols, dstRow(row) + colStart * 3);
    }
  }
}

FillPlacement ComputeFillPlacement(int ow, int oh, int tw, int th) {
  FillPlacement p;
  if (ow <= 0 || oh <= 0 || tw <= 0 || th <= 0) return p;
  const float a = static_cast<float>(ow) / static_cast<float>(oh);
  const float t = static_cast<float>(tw) / static_cast<float>(th);
  if (a > t) {
    p.height = th;
    p.width = static_cast<int>(static_cast<float>(th) * a);
  } else {
    p.width = tw;
    p.height = static_cast<int>(static_cast<float>(tw) / a);
  }
  p.left = (tw - p.width) / 2;
  p.top = (th - p.height) / 2;
  p.cropOnly = (ow == tw && oh > th) || (oh == th && ow > tw);
  return p;
}

void FitSize(int areaWidth, int areaHeight, int frameWidth, int frameHeight, int* width, int* height) {
  *width = *height = 0;
  if (areaWidth <= 0 || areaHeight <= 0 || frameWidth <= 0 || frameHeight <= 0) return;
  const float areaRatio = static_cast<float>(areaWidth) / static_cast<float>(areaHeight);
  const float frameRatio = static_cast<float>(frameWidth) / static_cast<float>(frameHeight);
  if (areaRatio > frameRatio) {
    *width = static_cast<int>(static_cast<float>(areaHeight) * frameRatio);
    *height = areaHeight;
  } else {
    *width = areaWidth;
    *height = static_cast<int>(static_cast<float>(areaWidth) / frameRatio);
  }
}

SourceCrop ComputeSourceCrop(int width, int height, const Orientation& o, int tw, int th) {
  SourceCrop c;
  int ow, oh;
  OrientedSize(width, height, o, &ow, &oh);
  const FillPlacement p = ComputeFillPlacement(ow, oh, tw, th);
  if (p.width <= 0 || p.height <= 0) return c;
  // The visible window of the placed picture, in oriented source pixels.
  auto toSource = [](int offset, int visible, int source, int drawn, int* start, int* length) {
    *length =
        std::clamp(static_cast<int>(std::lround(static_cast<double>(visible) * source / drawn)), 1, source);
    *start = std::clamp(static_cast<int>(std::lround(static_cast<double>(-offset) * source / drawn)), 0,
                        source - *length);
  };
  int ox, oy, ocw, och;
  toSource(p.left, tw, ow, p.width, &ox, &ocw);
  toSource(p.top, th, oh, p.height, &oy, &och);
  // Back through the orientation: a mirrored or flipped axis counts its
  // window from the other end.
  if (!o.rotated) {
    c.x = o.mirror ? ow - ox - ocw : ox;
    c.y = o.flip ? oh - oy - och : oy;
    c.width = ocw;
    c.height = och;
    c.scaledWidth = tw;
    c.scaledHeight = th;
  } else {
    // Oriented rows are source columns (counted from the right with flip),
    // oriented columns are source rows (counted from the bottom unless mirrored).
    c.x = o.flip ? width - oy - och : oy;
    c.y = o.mirror ? ox : height - ox - ocw;
    c.width = och;
    c.height = ocw;
    c.scaledWidth = th;
    c.scaledHeight = tw;
  }
  return c;
}
