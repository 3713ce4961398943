// A thin vertical scroll bar that is only a thumb: press above or below it
// to page (repeating every 150 ms while held), drag it to scroll. Every
// position change is told to the listener.
#pragma once
#include <windows.h>

#include "framework/gdi.h"
#include "widgets/buffered_paint_window.h"
#include "widgets/nine_grid_image.h"
#include "widgets/widget_listeners.h"

class MiniScrollBar : public BufferedPaintWindow<MiniScrollBar> {
 public:
  // Timers 2 and 3 repeat paging up and down while the button is held.
  static constexpr UINT_PTR kPageUpTimer = 2;
  static constexpr UINT_PTR kPageDownTimer = 3;
  static constexpr UINT kPageIntervalMs = 150;
  // WM_COMMAND ids of the line commands.
  static constexpr WORD kLineUp = 1;
  static constexpr WORD kLineDown = 2;
  enum ThumbState { kNormal = 0, kHot = 1, kPressed = 2 };

  BEGIN_MSG_MAP(MiniScrollBar)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDown)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    CHAIN_MSG_MAP(BufferedPaintWindow<MiniScrollBar>)
  END_MSG_MAP()

  HWND Create(HWND parent, const RECT& rc, UINT id);
  void SetListener(IMiniScrollBarOnScrollListener* listener) { listener_ = listener; }
  // Content size; never below the page when the page is at least 1.
  void SetRange(int range);
  // Visible size; raises the range to it when needed.
  void SetPage(int page);
  // Clamped to 0..range - page; tells the listener when `notify` is set.
  void SetPosition(int position, bool notify);
  void SetLineStep(int step) { lineStep_ = step; }

  int GetPosition() const { return position_; }
  int GetRange() const { return range_; }
  int GetPage() const { return page_; }
  bool IsDragging() const { return dragging_; }
  int GetState() const { return state_; }
  const RECT& GetThumbRect() const { return thumbRect_; }

  // Paints the whole client (white background and thumb) onto `dc`.
  void PaintTo(HDC dc);

 private:
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  void UpdateThumb();
  void ScrollTo(int position);  // clamp, UpdateThumb, OnScroll
  void Notify();
  void EndPressAndDrag();
  HBITMAP PictureForState() const;

  BitmapHandle thumbImages_[3];  // normal, hot, pressed
  RECT thumbRect_{};
  NineGridImage thumbDrawer_;
  int state_ = kNormal;
  int range_ = 20;
  int page_ = 10;
  int lineStep_ = 20;
  bool dragging_ = false;
  int dragStartY_ = 0;
  int position_ = 0;
  int dragStartTop_ = 0;
  bool captured_ = false;
  IMiniScrollBarOnScrollListener* listener_ = nullptr;
};
