#include "widgets/slider.h"

#include <algorithm>

#include "resources/picture_ids.h"
#include "widgets/button_support.h"
#include "widgets/core/control_geometry.h"
#include "widgets/gdiplus_owners.h"
#include "widgets/image_helpers.h"
#include "widgets/mouse_input.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

HWND Slider::Create(HWND parent, const RECT& rc) {
  return CWindowImpl<Slider>::Create(parent, rc, nullptr, WS_CHILD | WS_VISIBLE);
}

void Slider::Repaint() {
  if (IsWindow()) Invalidate(FALSE);
}

void Slider::SetMaximum(int maximum) {
  maximum_ = maximum;
  value_ = std::min(value_, maximum_);
  Repaint();
}

void Slider::SetMinimum(int minimum) {
  minimum_ = minimum;
  value_ = std::max(value_, minimum_);
  Repaint();
}

void Slider::SetValue(int value) {
  value_ = std::max(std::min(value, maximum_), minimum_);
  Repaint();
}

LRESULT Slider::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  thumbImage_ = LoadPngAsHBitmap(IDB_SLIDER_THUMB, 0);
  SIZE size = BitmapSize(thumbImage_.get());
  thumbWidth_ = size.cx;
  thumbHeight_ = size.cy;
  return 0;
}

void Slider::TrackPointer(LPARAM lParam) {
  RECT client{};
  GetClientRect(&client);
  int x = PointFromLParam(lParam).x;
  int value = SliderValueFromX(x, client.left, client.right, thumbWidth_, minimum_, maximum_);
  if (value == value_) return;
  value_ = value;
  if (listener_) listener_->OnSliderPos(value_);
}

LRESULT Slider::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&) {
  SetCapture();
  TrackPointer(lParam);
  Invalidate(FALSE);
  return 0;
}

LRESULT Slider::OnMouseMove(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  if (wParam & MK_LBUTTON) TrackPointer(lParam);
  Invalidate(FALSE);
  return 0;
}

LRESULT Slider::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&) {
  // Also after a press elsewhere: the owner treats every release as the end.
  if (listener_) listener_->OnSliderEnd(value_);
  ReleaseCapture();
  return 0;
}

void Slider::PaintTo(HDC dc) {
  RECT client{};
  GetClientRect(&client);
  FillSolid(dc, client, RGB(255, 255, 255));
  const int width = client.right - client.left;
  const int H = client.bottom - client.top;
  const int bandTop = (H - 2) / 2;
  const int xt = SliderThumbLeft(value_, client.left, client.right, thumbWidth_, minimum_, maximum_);

  RECT track{0, bandTop, width, bandTop + 2};
  FillSolid(dc, track, kTrackColor);
  RECT filled{0, bandTop, xt + thumbWidth_, bandTop + 2};
  if (minimum_ < 0) {
    const int centre = (client.right - client.left) / 2;
    filled = value_ >= 0 ? RECT{centre, bandTop, xt + thumbWidth_, bandTop + 2}
                         : RECT{xt, bandTop, centre, bandTop + 2};
    // The dot marks zero on a slider centred on it.
    if (GpGraphicsPtr graphics = CreateSmoothGraphics(dc)) {
      GpBrushPtr brush = CreateArgbBrush(0xFF000000 | (GetRValue(kFillColor) << 16) |
                                         (GetGValue(kFillColor) << 8) | GetBValue(kFillColor));
      GdipFillEllipse(graphics.get(), brush.get(), static_cast<REAL>(width * 0.5 - 2.0),
                      static_cast<REAL>(H * 0.5 - 2.5), 4.0f, 4.0f);
      GdipFlush(graphics.get(), FlushIntentionSync);
    }
  }
  FillSolid(dc, filled, kFillColor);
  MemoryDC scratch(dc, 1, 1);
  BlendBitmapAt(dc, scratch.get(), thumbImage_.get(), xt, (H - thumbHeight_) / 2, 255);
}
