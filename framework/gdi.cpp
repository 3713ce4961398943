#include "gdi.h"

MemoryDC::MemoryDC(HDC ref, int width, int height) : width_(width), height_(height) {
  dc_ = CreateCompatibleDC(ref);
  HDC screen = ref ? nullptr : GetDC(nullptr);
  bitmap_ = CreateCompatibleBitmap(ref ? ref : screen, width > 0 ? width : 1, height > 0 ? height : 1);
  if (screen) ReleaseDC(nullptr, screen);
  if (dc_ && bitmap_) old_ = SelectObject(dc_, bitmap_);
}

MemoryDC::~MemoryDC() {
  if (old_) SelectObject(dc_, old_);
  if (bitmap_) DeleteObject(bitmap_);
  if (dc_) DeleteDC(dc_);
}

RECT DoubleBufferedPaint::ClientOf(HWND wnd) {
  RECT rc{};
  GetClientRect(wnd, &rc);
  return rc;
}

DoubleBufferedPaint::DoubleBufferedPaint(HWND wnd)
    : wnd_(wnd),
      ps_{},
      windowDC_(BeginPaint(wnd, &ps_)),
      client_(ClientOf(wnd)),
      buffer_(windowDC_, client_.right - client_.left, client_.bottom - client_.top) {}

DoubleBufferedPaint::~DoubleBufferedPaint() {
  BitBlt(windowDC_, 0, 0, client_.right - client_.left, client_.bottom - client_.top, buffer_.get(), 0, 0,
         SRCCOPY);
  EndPaint(wnd_, &ps_);
}

void FillSolid(HDC dc, const RECT& rc, COLORREF color) {
  COLORREF old = SetBkColor(dc, color);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}
