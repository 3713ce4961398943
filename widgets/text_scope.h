// Label drawing over a picture or a filled background: a text colour and a
// transparent text background for a scope, both restored at its end.
#pragma once
#include <windows.h>

class TransparentTextScope {
 public:
  TransparentTextScope(HDC dc, COLORREF color)
      : dc_(dc), oldColor_(SetTextColor(dc, color)), oldMode_(SetBkMode(dc, TRANSPARENT)) {}
  ~TransparentTextScope() {
    SetBkMode(dc_, oldMode_);
    SetTextColor(dc_, oldColor_);
  }
  TransparentTextScope(const TransparentTextScope&) = delete;
  TransparentTextScope& operator=(const TransparentTextScope&) = delete;

 private:
  HDC dc_;
  COLORREF oldColor_;
  int oldMode_;
};
