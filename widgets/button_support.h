// Pieces shared by the three button windows: the four state pictures, the
// parent-drawn viewport shift, picture blending, repaint and click reports.
#pragma once
#include <windows.h>

#include "framework/gdi.h"

// Button states shared by ImageButton, LoadingButton and CIconButton.
enum ButtonState { kStateNormal = 0, kStatePressed = 1, kStateHot = 2 };

// Pictures for normal, hot, pressed and disabled, owned.
struct ButtonImages {
  BitmapHandle normal, hot, pressed, disabled;
  // Loads four PNG resources (0 = none) as bitmaps on opaque black.
  void Load(int normalId, int hotId, int pressedId, int disabledId);
  // The picture for the disabled flag or the state.
  HBITMAP ForState(bool isDisabled, int state) const;
};

// While alive, moves the target's viewport so that a parent-drawn button
// paints itself at its place in the parent's client area; `parentRect`
// receives that place. Without parent-drawn mode it does nothing.
class ParentDrawnViewport {
 public:
  ParentDrawnViewport(HWND button, bool parentDrawn, HWND parent, HDC target, RECT* parentRect);
  ~ParentDrawnViewport();
  ParentDrawnViewport(const ParentDrawnViewport&) = delete;
  ParentDrawnViewport& operator=(const ParentDrawnViewport&) = delete;

 private:
  HDC target_ = nullptr;
  POINT old_{};
  bool moved_ = false;
};

// AlphaBlend of a 32-bit premultiplied bitmap at its own size with a
// constant opacity on top of the per-pixel alpha.
void BlendBitmapAt(HDC target, HDC scratch, HBITMAP bitmap, int x, int y, BYTE opacity);
// The same, centred in `area`.
void BlendBitmapCentred(HDC target, HDC scratch, HBITMAP bitmap, const RECT& area, BYTE opacity);

// Invalidates the button's place in its parent (no erase) when a parent is
// known, then the whole button (with erase).
void RepaintButton(HWND button, HWND parent, const RECT& parentRect);

// WM_COMMAND (id, BN_CLICKED) with lParam 0 to the button's parent, posted or sent.
void ReportClick(HWND button, bool post);
