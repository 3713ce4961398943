// Memory device contexts for paint tests: a 32-bit top-down DIB whose pixels
// the test reads, and a bare memory DC for drawing calls that need one.
#pragma once
#include <windows.h>

#include <cstdint>

#include "framework/gdi.h"

class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255));
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  COLORREF Pixel(int x, int y) const;
  void Fill(COLORREF color);
  bool SameAs(const Canvas& other) const;
  // Pixels that differ from `color`.
  int CountNot(COLORREF color) const;
  // The smallest rectangle holding every pixel that differs from `color`;
  // empty (IsRectEmpty) when there is none.
  RECT InkBounds(COLORREF color) const;

 private:
  int width_, height_;
  const uint32_t* bits_ = nullptr;
  UniqueMemoryDC dc_;
  BitmapHandle bitmap_;
  SelectScope select_;
};

// A memory DC compatible with the screen, for functions that take a DC.
class ScratchDC {
 public:
  ScratchDC() : dc_(CreateCompatibleDC(nullptr)) {}
  HDC get() const { return dc_.get(); }

 private:
  UniqueMemoryDC dc_;
};
