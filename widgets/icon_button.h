// A small icon beside a line of text, both following the state. Used for the
// refresh and help-link buttons and, parent-drawn, for the buttons painted
// on top of the video preview. Any left-button release over it is a click,
// sent to the parent as WM_COMMAND (id, BN_CLICKED).
#pragma once
#include <windows.h>

#include <string>

#include "widgets/button_window.h"

class CIconButton : public ButtonWindow<CIconButton> {
 public:
  enum IconPosition { kIconLeft = 0, kIconRight = 1, kIconAbove = 2, kIconBelow = 3 };

  BEGIN_MSG_MAP(CIconButton)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    CHAIN_MSG_MAP(ButtonWindow<CIconButton>)
  END_MSG_MAP()

  // Four PNG resource ids: normal, hot, pressed, disabled (0 = no icon); all one size.
  void SetImages(int normalId, int hotId, int pressedId, int disabledId);
  void SetEnabled(bool enabled);
  void SetText(const std::string& text) { text_ = text; }
  const std::string& GetText() const { return text_; }
  // Text colours for normal, hot, pressed, disabled.
  void SetTextColors(COLORREF normal, COLORREF hot, COLORREF pressed, COLORREF disabled);
  void SetFontSize(int pixels) { fontSize_ = pixels; }
  void SetIconGap(int pixels) { gap_ = pixels; }
  void SetIconPosition(int position) { iconPosition_ = position; }
  void SetTextFormat(UINT format) { textFormat_ = format; }

  // Paints onto `target` (client coordinates, or the parent's in parent-drawn
  // mode). A hidden parent-drawn button draws nothing.
  void Draw(HDC target, HDC scratch);

 private:
  friend class ButtonWindow<CIconButton>;
  // Every change shows at once: the icon button never fades.
  void OnStateChanged(bool /*hover*/) { Repaint(); }
  LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
  void DrawIconAndText(HDC target, HDC scratch, const RECT& client, HBITMAP icon, BYTE opacity);

  int gap_ = 0;
  int iconPosition_ = kIconLeft;
  std::string text_;
  COLORREF textColors_[4] = {0, 0, 0, 0};  // normal, hot, pressed, disabled
  UINT textFormat_ = DT_VCENTER | DT_SINGLELINE;
  int fontSize_ = 9;
};
