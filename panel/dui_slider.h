// One parameter row of an adjustment page ("slider"): a caption on the left,
// the slider in the middle and the value on the right. The phone sets range
// and value ("min", "max", "pos") without any event coming back; while the
// user drags, each new value goes to the phone as "slider_pos" and the
// release as "slider_end", and the value text follows the drag at once.
#pragma once
#include "panel/dui_ctrl.h"
#include "widgets/slider.h"

class DUISlider : public DUIItem, private ISliderListener {
 public:
  DUISlider() = default;
  // The row's window (with the labels and the slider's) goes before the
  // brush they paint with.
  ~DUISlider() override;

  BEGIN_MSG_MAP(DUISlider)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
  END_MSG_MAP()

  // Common attributes, then "min", "max" and "pos", each keeping the
  // slider's current value when absent; the value is clamped to the range.
  void SetAttributes(std::unique_ptr<AttributeList> list) override;

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCtlColorStatic(UINT, WPARAM, LPARAM, BOOL&);
  void OnSliderPos(int value) override;
  void OnSliderEnd(int value) override;
  void ShowValue(int value);

  Slider slider_;
  // Children of the row's window, destroyed with it.
  HWND nameLabel_ = nullptr;
  HWND valueLabel_ = nullptr;
  BrushHandle backgroundBrush_;
};
