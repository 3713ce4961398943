// Base of the controls that draw their whole client themselves through
// T::PaintTo(HDC): each WM_PAINT draws into a back buffer that is copied to
// the window in one BitBlt, and WM_ERASEBKGND erases nothing, so the control
// never shows a half-drawn or blank frame. T chains this map with
// CHAIN_MSG_MAP(BufferedPaintWindow<T>).
#pragma once
#include <windows.h>

#include "framework/gdi.h"
#include "framework/window.h"

template <class T>
class BufferedPaintWindow : public CWindowImpl<T> {
 public:
  BEGIN_MSG_MAP(BufferedPaintWindow)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
  END_MSG_MAP()

 private:
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    DoubleBufferedPaint paint(this->m_hWnd);
    static_cast<T*>(this)->PaintTo(paint.dc());
    return 0;
  }
};
