// How the preview's owner draws on top of the picture (its overlay buttons).
#pragma once
#include <windows.h>

class IDrawHandler {
 public:
  virtual ~IDrawHandler() = default;
  // Called on every paint after the picture, with the back buffer and a free
  // memory DC into which the handler may select its bitmaps.
  virtual void OnDraw(HDC target, HDC scratch) = 0;
};
