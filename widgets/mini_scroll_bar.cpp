#include "widgets/mini_scroll_bar.h"

#include <algorithm>

#include "resources/picture_ids.h"
#include "widgets/core/control_geometry.h"
#include "widgets/image_helpers.h"
#include "widgets/mouse_input.h"

HWND MiniScrollBar::Create(HWND parent, const RECT& rc, UINT id) {
  HWND wnd = CWindowImpl<MiniScrollBar>::Create(parent, rc, nullptr, WS_CHILD | WS_VISIBLE, 0, id);
  if (!wnd) return nullptr;
  thumbImages_[kNormal] = LoadPngAsHBitmap(IDB_SCROLL_THUMB_NORMAL, 0);
  thumbImages_[kHot] = LoadPngAsHBitmap(IDB_SCROLL_THUMB_HOT, 0);
  thumbImages_[kPressed] = LoadPngAsHBitmap(IDB_SCROLL_THUMB_PRESSED, 0);
  GetClientRect(&thumbRect_);
  // Corners and the 10-pixel grip band (rows 4 to 13) keep their size.
  thumbDrawer_.SetSplits(3, 3, 4, 14);
  thumbDrawer_.SetOpacity(255);
  thumbDrawer_.SetBitmap(thumbImages_[kNormal].get(), false);
  UpdateThumb();
  return wnd;
}

void MiniScrollBar::SetRange(int range) {
  range_ = range;
  if (page_ >= 1 && range_ < page_) range_ = page_;
  UpdateThumb();
}

void MiniScrollBar::SetPage(int page) {
  page_ = page;
  if (page_ >= 1 && range_ < page_) range_ = page_;
  UpdateThumb();
}

void MiniScrollBar::SetPosition(int position, bool notify) {
  position_ = ClampScrollPosition(position, range_, page_);
  UpdateThumb();
  if (notify) Notify();
}

void MiniScrollBar::Notify() {
  if (listener_) listener_->OnScroll(this, position_);
}

void MiniScrollBar::ScrollTo(int position) {
  position_ = ClampScrollPosition(position, range_, page_);
  UpdateThumb();
  Notify();
}

void MiniScrollBar::UpdateThumb() {
  if (!IsWindow()) return;
  RECT client{};
  GetClientRect(&client);
  if (IsRectEmpty(&client)) return;
  const int barHeight = client.bottom - client.top;
  const int h = ScrollThumbHeight(barHeight, range_, page_);
  if (range_ - page_ < 1) position_ = 0;
  thumbRect_ = client;
  thumbRect_.top = client.top + ScrollThumbOffset(barHeight, h, range_, page_, position_);
  thumbRect_.bottom = thumbRect_.top + h;
  Invalidate(TRUE);
}

HBITMAP MiniScrollBar::PictureForState() const {
  int index = (state_ >= kNormal && state_ <= kPressed) ? state_ : kNormal;
  return thumbImages_[index].get();
}

void MiniScrollBar::PaintTo(HDC dc) {
  RECT client{};
  GetClientRect(&client);
  FillSolid(dc, client, RGB(255, 255, 255));
  MemoryDC scratch(dc, 1, 1);
  thumbDrawer_.SetBitmap(PictureForState(), false);
  thumbDrawer_.Draw(dc, scratch.get(), thumbRect_.left, thumbRect_.top, thumbRect_.right - thumbRect_.left,
                    thumbRect_.bottom - thumbRect_.top);
}

LRESULT MiniScrollBar::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&) {
  POINT pt = PointFromLParam(lParam);
  dragging_ = false;
  if (PtInRect(&thumbRect_, pt)) {
    SetCapture();
    captured_ = true;
    state_ = kPressed;
  } else {
    int target = position_;
    if (pt.y < thumbRect_.top) {
      target -= page_;
      SetTimer(kPageUpTimer, kPageIntervalMs);
    } else if (pt.y >= thumbRect_.bottom) {
      target += page_;
      SetTimer(kPageDownTimer, kPageIntervalMs);
    }
    target = std::max(0, std::min(target, range_));
    if (target != position_) {
      position_ = std::min(target, range_ - page_);
      UpdateThumb();
      Notify();
    }
    state_ = kNormal;
  }
  Invalidate(TRUE);
  return 0;
}

LRESULT MiniScrollBar::OnMouseMove(UINT, WPARAM, LPARAM lParam, BOOL&) {
  RequestMouseLeave(m_hWnd);
  POINT pt = PointFromLParam(lParam);
  if (!PtInRect(&thumbRect_, pt) && !dragging_ && !captured_) {
    if (state_ != kNormal) {
      state_ = kNormal;
      Invalidate(TRUE);
    }
    return 0;
  }
  if (!dragging_ && state_ != kHot) {
    state_ = kHot;
    Invalidate(TRUE);
  }
  if (!captured_) return 0;
  state_ = kPressed;
  if (!dragging_) {
    // The first move only starts the drag; the thumb follows from the next one.
    dragStartY_ = pt.y;
    dragStartTop_ = thumbRect_.top;
    dragging_ = true;
    return 0;
  }
  RECT client{};
  GetClientRect(&client);
  const int h = thumbRect_.bottom - thumbRect_.top;
  const int barHeight = client.bottom - client.top;
  int top = dragStartTop_ + (pt.y - dragStartY_);
  top = std::max(0, std::min(top, static_cast<int>(client.bottom) - h));
  int position = ScrollPositionFromOffset(barHeight, h, range_, page_, top);
  if (position != position_) {
    position_ = position;
    Notify();
  }
  thumbRect_.top = top;
  thumbRect_.bottom = top + h;
  Invalidate(TRUE);
  return 0;
}

void MiniScrollBar::EndPressAndDrag() {
  ReleaseCapture();
  captured_ = false;
  dragging_ = false;
  KillTimer(kPageUpTimer);
  KillTimer(kPageDownTimer);
}

LRESULT MiniScrollBar::OnLButtonUp(UINT, WPARAM, LPARAM lParam, BOOL&) {
  POINT pt = PointFromLParam(lParam);
  EndPressAndDrag();
  state_ = PtInRect(&thumbRect_, pt) ? kHot : kNormal;
  Invalidate(TRUE);
  return 0;
}

LRESULT MiniScrollBar::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&) {
  // Leaving the bar ends a drag even while the mouse is captured.
  EndPressAndDrag();
  state_ = kNormal;
  Invalidate(TRUE);
  return 0;
}

LRESULT MiniScrollBar::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if (wParam == kPageUpTimer) {
    ScrollTo(position_ - page_);
  } else if (wParam == kPageDownTimer) {
    ScrollTo(position_ + page_);
  } else {
    handled = FALSE;
  }
  return 0;
}

LRESULT MiniScrollBar::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if (LOWORD(wParam) == kLineUp) {
    ScrollTo(position_ - lineStep_);
  } else if (LOWORD(wParam) == kLineDown) {
    ScrollTo(position_ + lineStep_);
  } else {
    handled = FALSE;
  }
  return 0;
}

LRESULT MiniScrollBar::OnSize(UINT, WPARAM, LPARAM, BOOL&) {
  GetClientRect(&thumbRect_);
  return 0;
}
