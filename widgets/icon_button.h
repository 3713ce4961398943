// A small icon beside a line of text, both following the state. Used for the
// refresh and help-link buttons and, parent-drawn, for the buttons painted
// on top of the video preview. Any left-button release over it is a click,
// sent to the parent as WM_COMMAND (id, BN_CLICKED).
#pragma once
#include <windows.h>

#include <string>

#include "button_support.h"
#include "window.h"

class CIconButton : public CWindowImpl<CIconButton> {
 public:
  enum IconPosition { kIconLeft = 0, kIconRight = 1, kIconAbove = 2, kIconBelow = 3 };

  BEGIN_MSG_MAP(CIconButton)
  MESSAGE_HANDLER(WM_CREATE, OnCreate)
  MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
  MESSAGE_HANDLER(WM_PAINT, OnPaint)
  MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
  MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
  MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
  MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
  MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
  MESSAGE_HANDLER(WM_ENABLE, OnEnable)
  END_MSG_MAP()

  // Four PNG resource ids: normal, hot, pressed, disabled (0 = no icon); all one size.
  void SetImages(int normalId, int hotId, int pressedId, int disabledId);
  void SetEnabled(bool enabled);
  void SetParentDrawn(bool parentDrawn, HWND parent);
  void SetText(const std::string& text) { text_ = text; }
  // Text colours for normal, hot, pressed, disabled.
  void SetTextColors(COLORREF normal, COLORREF hot, COLORREF pressed, COLORREF disabled);
  void SetFontSize(int pixels) { fontSize_ = pixels; }
  void SetIconGap(int pixels) { gap_ = pixels; }
  void SetIconPosition(int position) { iconPosition_ = position; }
  void SetTextFormat(UINT format) { textFormat_ = format; }

  // Paints onto `target` (client coordinates, or the parent's in parent-drawn
  // mode). A hidden parent-drawn button draws nothing.
  void Draw(HDC target, HDC scratch);

  int GetState() const { return state_; }

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL&);
  // EnableWindow shows the disabled look too, so owners can use either.
  LRESULT OnEnable(UINT, WPARAM wParam, LPARAM, BOOL&) {
    SetEnabled(wParam != FALSE);
    return 0;
  }
  void DrawIconAndText(HDC target, HDC scratch, const RECT& client, HBITMAP icon, BYTE opacity);
  void Repaint() { RepaintButton(m_hWnd, parent_, parentRect_); }

  ButtonImages images_;
  bool disabled_ = false;
  int gap_ = 0;
  int iconPosition_ = kIconLeft;
  int state_ = kStateNormal;
  std::string text_;
  COLORREF textColors_[4] = {0, 0, 0, 0};  // normal, hot, pressed, disabled
  UINT textFormat_ = DT_VCENTER | DT_SINGLELINE;
  int fontSize_ = 9;
  bool parentDrawn_ = false;
  HWND parent_ = nullptr;
  RECT parentRect_{};
};
