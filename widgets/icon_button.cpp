#include "widgets/icon_button.h"

#include "config/ui_font.h"
#include "framework/text.h"
#include "widgets/image_helpers.h"

void CIconButton::SetImages(int normalId, int hotId, int pressedId, int disabledId) {
  images_.Load(normalId, hotId, pressedId, disabledId);
  if (IsWindow()) Repaint();
}

void CIconButton::SetEnabled(bool enabled) {
  if (disabled_ != enabled) return;
  disabled_ = !enabled;
  if (IsWindow()) Repaint();
}

void CIconButton::SetTextColors(COLORREF normal, COLORREF hot, COLORREF pressed, COLORREF disabled) {
  textColors_[0] = normal;
  textColors_[1] = hot;
  textColors_[2] = pressed;
  textColors_[3] = disabled;
}

void CIconButton::Draw(HDC target, HDC scratch) {
  RECT client{};
  GetClientRect(&client);
  ParentDrawnViewport viewport = EnterParentPlace(target);
  SelectScope font(target, GetUiFont(fontSize_));
  if (!IsRectEmpty(&client))
    DrawIconAndText(target, scratch, client, images_.ForState(disabled_, state_), 255);
}

void CIconButton::DrawIconAndText(HDC target, HDC scratch, const RECT& client, HBITMAP icon, BYTE opacity) {
  // The preview paints its overlay buttons itself; a hidden one must not show.
  if (parentDrawn_ && !(GetStyle() & WS_VISIBLE)) return;
  SIZE size = BitmapSize(images_.pressed.get());
  const int w = size.cx, h = size.cy;
  const LONG L = client.left, T = client.top, R = client.right, B = client.bottom;
  RECT textRect = client;
  POINT at{L, T};
  switch (iconPosition_) {
    case kIconRight:
      at = {R - w, T + (B - T - h) / 2};
      textRect.right = R - w - gap_;
      break;
    case kIconAbove:
      at = {L + (R - L - w) / 2, T};
      textRect.top = T + h + gap_;
      break;
    case kIconBelow:
      at = {L + (R - L - w) / 2, B - h};
      textRect.bottom = B - h - gap_;
      break;
    default:
      at = {L, T + (B - T - h) / 2};
      textRect.left = L + w + gap_;
      break;
  }
  if (icon) BlendBitmapAt(target, scratch, icon, at.x, at.y, opacity);
  int colourIndex = disabled_ ? 3 : (state_ == kStateHot ? 1 : (state_ == kStatePressed ? 2 : 0));
  COLORREF old = SetTextColor(target, textColors_[colourIndex]);
  DrawTextUtf8(target, text_, &textRect, textFormat_ | DT_SINGLELINE);
  SetTextColor(target, old);
}

LRESULT CIconButton::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&) {
  ChangeState(kStateHot, false);
  // Any release over the button counts, wherever the press began; sent.
  if (!disabled_) ReportClick(m_hWnd, false);
  return 0;
}
