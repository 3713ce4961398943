// Draws a picture with per-pixel alpha into any rectangle, keeping its
// corners and its centre piece unscaled and stretching the bands between.
#pragma once
#include <windows.h>

#include "framework/gdi.h"
#include "widgets/core/image_geometry.h"

class NineGridImage {
 public:
  NineGridImage();
  NineGridImage(const NineGridImage&) = delete;
  NineGridImage& operator=(const NineGridImage&) = delete;

  // Split lines; a pair with one line -1 uses the other line for both, a pair
  // with both -1 splits in the middle when drawn.
  void SetSplits(int x1, int x2, int y1, int y2);
  // A 32-bit premultiplied bitmap. With `owns` the object deletes it when it
  // is replaced or the object dies; otherwise the caller keeps it alive.
  void SetBitmap(HBITMAP bitmap, bool owns);
  void SetOpacity(BYTE opacity) { blend_.SourceConstantAlpha = opacity; }
  HBITMAP GetBitmap() const { return bitmap_; }
  const NineGridSplits& GetSplits() const { return splits_; }

  // Draws into (x, y, width, height) of `target`; `scratch` is a memory DC the
  // bitmap is selected into meanwhile.
  void Draw(HDC target, HDC scratch, int x, int y, int width, int height);

 private:
  NineGridSplits splits_;
  HBITMAP bitmap_ = nullptr;
  BitmapHandle owned_;  // bitmap_ when the object deletes it, else empty
  int width_ = 0, height_ = 0;
  BLENDFUNCTION blend_;
};
