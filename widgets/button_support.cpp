#include "widgets/button_support.h"

#include "widgets/image_helpers.h"

void ButtonImages::Load(int normalId, int hotId, int pressedId, int disabledId) {
  normal = LoadPngAsHBitmap(normalId, 0xFF000000);
  hot = LoadPngAsHBitmap(hotId, 0xFF000000);
  pressed = LoadPngAsHBitmap(pressedId, 0xFF000000);
  disabled = LoadPngAsHBitmap(disabledId, 0xFF000000);
}

HBITMAP ButtonImages::ForState(bool isDisabled, int state) const {
  if (isDisabled) return disabled.get();
  if (state == kStatePressed) return pressed.get();
  if (state == kStateHot) return hot.get();
  return normal.get();
}

ParentDrawnViewport::ParentDrawnViewport(HWND button, bool parentDrawn, HWND parent, HDC target,
                                         RECT* parentRect) {
  if (!parentDrawn || !parent) return;
  RECT rc{};
  GetWindowRect(button, &rc);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
  if (parentRect) *parentRect = rc;
  target_ = target;
  moved_ = SetViewportOrgEx(target, rc.left, rc.top, &old_) != FALSE;
}

ParentDrawnViewport::~ParentDrawnViewport() {
  if (moved_) SetViewportOrgEx(target_, old_.x, old_.y, nullptr);
}

void BlendBitmapAt(HDC target, HDC scratch, HBITMAP bitmap, int x, int y, BYTE opacity) {
  if (!bitmap) return;
  SIZE size = BitmapSize(bitmap);
  SelectScope selected(scratch, bitmap);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, opacity, AC_SRC_ALPHA};
  AlphaBlend(target, x, y, size.cx, size.cy, scratch, 0, 0, size.cx, size.cy, blend);
}

void BlendBitmapCentred(HDC target, HDC scratch, HBITMAP bitmap, const RECT& area, BYTE opacity) {
  SIZE size = BitmapSize(bitmap);
  int x = area.left + (area.right - area.left - size.cx) / 2;
  int y = area.top + (area.bottom - area.top - size.cy) / 2;
  BlendBitmapAt(target, scratch, bitmap, x, y, opacity);
}

void RepaintButton(HWND button, HWND parent, const RECT& parentRect) {
  if (parent) InvalidateRect(parent, &parentRect, FALSE);
  InvalidateRect(button, nullptr, TRUE);
}

void ReportClick(HWND button, bool post) {
  HWND parent = GetParent(button);
  WPARAM wParam = MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED);
  if (post) {
    PostMessageA(parent, WM_COMMAND, wParam, 0);
  } else {
    SendMessageA(parent, WM_COMMAND, wParam, 0);
  }
}
