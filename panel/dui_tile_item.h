// What the picture tiles of a page grid (filter, decoration and circle
// items) share: a picture from the phone's blobs, double-buffered painting,
// and clicks reported to the phone. The window class takes double clicks, so
// a double click reports "click", "doubleclick", "click". A tile never
// selects itself; the phone answers a click with the page's "selected".
#pragma once
#include "panel/dui_ctrl.h"
#include "panel/item_picture.h"

class DUITileItem : public DUIItem {
 public:
  BEGIN_MSG_MAP(DUITileItem)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDblClk)
  END_MSG_MAP()

 protected:
  ItemPicture picture_;

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&) { return PaintBuffered(); }
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&) {
    SendEvent("click");
    return 0;
  }
  LRESULT OnLButtonDblClk(UINT, WPARAM, LPARAM, BOOL&) {
    SendEvent("doubleclick");
    return 0;
  }
};
