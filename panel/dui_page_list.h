// A page of picture tiles ("page_list"): its name as a grey title and its
// items in an embedded scrolling grid at ("list_padding_left",
// "list_padding_top"). The grid takes a copy of the page's attributes, so it
// carries the page's id (which the items report as their parent) and the
// grid layout and "selected". Only items can be children; the page's
// children are the grid's, also for the searches by id.
#pragma once
#include "panel/dui_ctrl.h"
#include "panel/dui_list_view.h"

class DUIPageList : public DUICtrl {
 public:
  static constexpr int kTitleX = 20;
  static constexpr int kTitleY = 32;
  static constexpr COLORREF kTitleColor = RGB(128, 128, 128);

  BEGIN_MSG_MAP(DUIPageList)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_SHOWWINDOW, OnShowWindow)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
  END_MSG_MAP()

  ~DUIPageList() override;

  void SetAttributes(std::unique_ptr<AttributeList> list) override;
  // Items go into the grid; anything else is dropped.
  void InsertChild(std::unique_ptr<DUICtrl> child, int index) override;
  void RemoveChild(int id) override { list_.RemoveChild(id); }
  void ModifyChild(int id, std::unique_ptr<AttributeList> list) override {
    list_.ModifyChild(id, std::move(list));
  }
  void GetChildren(std::vector<DUICtrl*>& out) const override { list_.GetChildren(out); }
  void PaintTo(HDC dc) override;

  DUIListView& list() { return list_; }

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  // Sent just before the page shows: the grid lays out what waited for it.
  LRESULT OnShowWindow(UINT, WPARAM shown, LPARAM, BOOL& handled) {
    if (shown) list_.ShowDeferredItems();
    handled = FALSE;
    return 0;
  }
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&) { return PaintBuffered(); }

  DUIListView list_;
  int paddingLeft_ = 38;
  int paddingTop_ = 86;
};
