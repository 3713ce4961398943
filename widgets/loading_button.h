// An ImageButton that also shows a small icon at the left, which can spin,
// and a one-line label (the connect / disconnect button).
#pragma once
#include <string>

#include "widgets/gdiplus_owners.h"
#include "widgets/image_button.h"

class LoadingButton : public ImageButton {
 public:
  // Timer 2 turns the spinner by kSpinStepDegrees every 30 ms.
  static constexpr UINT_PTR kSpinTimer = 2;
  static constexpr UINT kSpinIntervalMs = 30;
  static constexpr int kSpinStepDegrees = 10;
  // The icon's and the spinner-less label's left edge.
  static constexpr int kContentLeft = 13;
  // The label starts this far right of the icon's width.
  static constexpr int kLabelAfterIcon = 18;
  static constexpr int kLabelFontSize = 12;

  BEGIN_MSG_MAP(LoadingButton)
    CHAIN_MSG_MAP(ImageButton)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
  END_MSG_MAP()

  // Takes ownership of `spinner`; angle restarts at 0; spinning runs timer 2.
  void SetSpinner(GpImagePtr spinner, bool spinning);
  void SetText(const std::string& text) { text_ = text; }
  const std::string& GetText() const { return text_; }
  void SetTextColor(COLORREF color);

  void Draw(HDC target, HDC scratch) override;

  int GetAngle() const { return angle_; }
  bool IsSpinning() const { return spinning_; }
  COLORREF GetTextColor() const { return textColor_; }
  // Where the label was drawn last: its rectangle's left edge (client coordinates).
  int GetLastTextLeft() const { return lastTextLeft_; }

 private:
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
  void DrawSpinner(HDC target, const RECT& client);

  GpImagePtr spinner_;
  std::string text_;
  bool spinning_ = false;
  int angle_ = 0;  // grows without wrapping; only its value modulo 360 shows
  COLORREF textColor_ = RGB(255, 255, 255);
  int lastTextLeft_ = 0;
};
