// Listener interfaces of the toolkit's controls. Controls hold them as
// non-owning pointers; the owner outlives the control or clears it.
#pragma once

class ComboBox;
class MiniScrollBar;

class IComboBoxListener {
 public:
  // `text` is the selected item's text, valid during the call.
  virtual void OnSelChange(ComboBox* comboBox, const char* text) = 0;

 protected:
  ~IComboBoxListener() = default;
};

class ISliderListener {
 public:
  // While the value changes under the pointer.
  virtual void OnSliderPos(int value) = 0;
  // When the left button is released over the slider.
  virtual void OnSliderEnd(int value) = 0;

 protected:
  ~ISliderListener() = default;
};

class IMiniScrollBarOnScrollListener {
 public:
  virtual void OnScroll(MiniScrollBar* scrollBar, int position) = 0;

 protected:
  ~IMiniScrollBarOnScrollListener() = default;
};
