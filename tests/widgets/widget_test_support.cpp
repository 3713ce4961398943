#include "widget_test_support.h"

#include <gtest/gtest.h>

#include <cstring>

#include "image_helpers.h"

TestParent::TestParent(int width, int height, int x, int y) {
  RECT rc{x, y, x + width, y + height};
  Create(nullptr, rc, "widget test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW);
}

TestParent::~TestParent() {
  if (IsWindow()) DestroyWindow();
}

std::vector<WPARAM> TakePostedCommands(HWND wnd) {
  std::vector<WPARAM> commands;
  MSG msg;
  while (PeekMessageA(&msg, wnd, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
    EXPECT_EQ(0, msg.lParam) << "a click carries lParam 0, not the button's handle";
    commands.push_back(msg.wParam);
  }
  return commands;
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

Canvas::Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<const uint32_t*>(bits);
  dc_ = CreateCompatibleDC(nullptr);
  old_ = SelectObject(dc_, bitmap_);
  Fill(fill);
}

Canvas::~Canvas() {
  SelectObject(dc_, old_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

void Canvas::Fill(COLORREF color) {
  RECT all{0, 0, width_, height_};
  FillSolid(dc_, all, color);
}

COLORREF Canvas::Pixel(int x, int y) const {
  GdiFlush();
  uint32_t v = bits_[y * width_ + x];
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

void BlendPngReference(HDC target, int id, int x, int y, BYTE opacity) {
  BitmapHandle picture = LoadPngAsHBitmap(id, 0xFF000000);
  ASSERT_TRUE(picture) << "PNG " << id;
  SIZE size = BitmapSize(picture.get());
  HDC source = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(source, picture.get());
  BLENDFUNCTION blend{AC_SRC_OVER, 0, opacity, AC_SRC_ALPHA};
  AlphaBlend(target, x, y, size.cx, size.cy, source, 0, 0, size.cx, size.cy, blend);
  SelectObject(source, old);
  DeleteDC(source);
}
