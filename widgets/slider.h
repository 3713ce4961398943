// A horizontal slider: a thin track, a filled part and a thumb picture. With
// a negative minimum the filled part runs from the centre (zero, marked by a
// dot) to the thumb.
#pragma once
#include <windows.h>

#include "framework/gdi.h"
#include "widgets/buffered_paint_window.h"
#include "widgets/widget_listeners.h"

class Slider : public BufferedPaintWindow<Slider> {
 public:
  static constexpr COLORREF kTrackColor = RGB(0xE0, 0xE0, 0xE0);
  static constexpr COLORREF kFillColor = RGB(0xE8, 0x58, 0x89);

  BEGIN_MSG_MAP(Slider)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    CHAIN_MSG_MAP(BufferedPaintWindow<Slider>)
  END_MSG_MAP()

  HWND Create(HWND parent, const RECT& rc);
  // Lowers the value to the new maximum when above it.
  void SetMaximum(int maximum);
  // Raises the value to the new minimum when below it.
  void SetMinimum(int minimum);
  // Clamped to minimum..maximum; the listener is not told.
  void SetValue(int value);
  void SetListener(ISliderListener* listener) { listener_ = listener; }
  int GetValue() const { return value_; }
  int GetMaximum() const { return maximum_; }
  int GetMinimum() const { return minimum_; }
  int GetThumbWidth() const { return thumbWidth_; }

  // Paints the whole client onto `dc`.
  void PaintTo(HDC dc);

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
  void TrackPointer(LPARAM lParam);
  void Repaint();

  int value_ = 50;
  int maximum_ = 100;
  int minimum_ = 0;
  int thumbWidth_ = 0, thumbHeight_ = 0;
  BitmapHandle thumbImage_;
  ISliderListener* listener_ = nullptr;
};
