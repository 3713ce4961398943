// What both kinds of page share: an embedded grid (DUIListView) that holds
// the page's items, a copy of the page's attributes on the grid (so the grid
// carries the page's id, which its items report as their parent), items only
// as children, and the grid's deferred layout done when the page is first
// shown. The pages paint themselves (a white ground and a grey title).
#pragma once
#include "panel/dui_ctrl.h"
#include "panel/dui_list_view.h"

class DUIPage : public DUICtrl {
 public:
  static constexpr COLORREF kTitleColor = RGB(128, 128, 128);

  BEGIN_MSG_MAP(DUIPage)
    MESSAGE_HANDLER(WM_SHOWWINDOW, OnShowWindow)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
  END_MSG_MAP()

  // The window goes while the grid and its items are whole.
  ~DUIPage() override { DestroyDetached(); }

  // The common attributes, then a copy of the whole list for the grid.
  void SetAttributes(std::unique_ptr<AttributeList> list) override;
  // Items go into the grid; anything else is dropped.
  void InsertChild(std::unique_ptr<DUICtrl> child, int index) override;
  void RemoveChild(int id) override { list_.RemoveChild(id); }
  void ModifyChild(int id, std::unique_ptr<AttributeList> list) override {
    list_.ModifyChild(id, std::move(list));
  }

  DUIListView& list() { return list_; }

 protected:
  // White ground and the name as a title at (x, y) in a font of `pixels`.
  void PaintTitledPage(HDC dc, int x, int y, int pixels);

  DUIListView list_;

 private:
  // Sent just before the page shows: the grid lays out what waited for it.
  LRESULT OnShowWindow(UINT, WPARAM shown, LPARAM, BOOL& handled) {
    if (shown) list_.ShowDeferredItems();
    handled = FALSE;
    return 0;
  }
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&) { return PaintBuffered(); }
};
