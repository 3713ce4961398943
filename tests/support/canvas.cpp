#include "tests/support/canvas.h"

#include <algorithm>

namespace {
HBITMAP TopDownDib(int width, int height, const uint32_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  *bits = static_cast<const uint32_t*>(pixels);
  return bitmap;
}
}  // namespace

Canvas::Canvas(int width, int height, COLORREF fill)
    : width_(width),
      height_(height),
      dc_(CreateCompatibleDC(nullptr)),
      bitmap_(TopDownDib(width, height, &bits_)),
      select_(dc_.get(), bitmap_.get()) {
  Fill(fill);
}

void Canvas::Fill(COLORREF color) {
  RECT all{0, 0, width_, height_};
  FillSolid(dc(), all, color);
}

COLORREF Canvas::Pixel(int x, int y) const {
  GdiFlush();
  const uint32_t v = bits_[y * width_ + x];
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

bool Canvas::SameAs(const Canvas& other) const {
  if (width_ != other.width_ || height_ != other.height_) return false;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (Pixel(x, y) != other.Pixel(x, y)) return false;
  return true;
}

int Canvas::CountNot(COLORREF color) const {
  int count = 0;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (Pixel(x, y) != color) ++count;
  return count;
}

RECT Canvas::InkBounds(COLORREF color) const {
  RECT bounds{width_, height_, 0, 0};
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (Pixel(x, y) != color)
        bounds = {std::min<LONG>(bounds.left, x), std::min<LONG>(bounds.top, y),
                  std::max<LONG>(bounds.right, x + 1), std::max<LONG>(bounds.bottom, y + 1)};
  return bounds;
}
