// One tab of the panel's tab row ("tab"): its name centred on white, pink
// with a 2-pixel pink band while selected, grey over a 1-pixel rule
// otherwise. A release over it asks the phone to switch ("click"); the tab
// looks selected only when the phone's answer reaches the holder.
#pragma once
#include "panel/dui_ctrl.h"

class DUITabButton : public DUICtrl {
 public:
  static constexpr COLORREF kSelectedColor = RGB(231, 89, 137);
  static constexpr COLORREF kNormalText = RGB(107, 107, 107);
  static constexpr COLORREF kRuleColor = RGB(237, 237, 237);
  static constexpr int kFontPixels = 14;

  BEGIN_MSG_MAP(DUITabButton)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
  END_MSG_MAP()

  void SetAttributes(std::unique_ptr<AttributeList> list) override;
  void SetSelected(bool selected);
  bool selected() const { return selected_; }
  void PaintTo(HDC dc) override;

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&) { return PaintBuffered(); }
  LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);

  bool selected_ = false;
};
