#include "framework/gdi.h"

namespace {
HBITMAP CompatibleBitmap(HDC ref, int width, int height) {
  HDC screen = ref ? nullptr : GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(ref ? ref : screen, width > 0 ? width : 1, height > 0 ? height : 1);
  if (screen) ReleaseDC(nullptr, screen);
  return bitmap;
}
}  // namespace

MemoryDC::MemoryDC(HDC ref, int width, int height)
    : dc_(CreateCompatibleDC(ref)),
      bitmap_(CompatibleBitmap(ref, width, height)),
      select_(dc_.get(), dc_ && bitmap_ ? bitmap_.get() : nullptr),
      width_(width),
      height_(height) {}

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
