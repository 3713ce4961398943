// A page of parameter sliders ("page_adjust"): a "返回" (back) button at the
// top left, a "重置参数" (reset) button at the top right, the name as a
// title (large with "style" 1) and the rows in an embedded one-column list
// of 320 x 22 rows. The buttons only ask the phone ("custom" with
// event="back" or event="reset"); the phone answers by changing the panel.
//
// The list carries the page's id from start to end, so every row reports
// the page as its parent whether it came before or after the window.
#pragma once
#include "panel/dui_ctrl.h"
#include "panel/dui_list_view.h"
#include "widgets/icon_button.h"

class DUIPageAdjust : public DUICtrl {
 public:
  static constexpr UINT kBackId = 3;
  static constexpr UINT kResetId = 4;
  static constexpr COLORREF kTitleColor = RGB(128, 128, 128);

  BEGIN_MSG_MAP(DUIPageAdjust)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_SHOWWINDOW, OnShowWindow)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
  END_MSG_MAP()

  ~DUIPageAdjust() override;

  void SetAttributes(std::unique_ptr<AttributeList> list) override;
  // Items go into the list; anything else is dropped.
  void InsertChild(std::unique_ptr<DUICtrl> child, int index) override;
  void RemoveChild(int id) override { list_.RemoveChild(id); }
  void ModifyChild(int id, std::unique_ptr<AttributeList> list) override {
    list_.ModifyChild(id, std::move(list));
  }
  void GetOwnedControls(std::vector<DUICtrl*>& out) const override { list_.GetChildren(out); }
  void PaintTo(HDC dc) override;

  DUIListView& list() { return list_; }
  HWND backButton() const { return back_; }
  HWND resetButton() const { return reset_; }

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  // Sent just before the page shows: the grid lays out what waited for it.
  LRESULT OnShowWindow(UINT, WPARAM shown, LPARAM, BOOL& handled) {
    if (shown) list_.ShowDeferredItems();
    handled = FALSE;
    return 0;
  }
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&) { return PaintBuffered(); }
  void CreateButton(CIconButton& button, UINT id, const RECT& place, const char* text, int firstImage,
                    int fontPixels);

  CIconButton back_;
  CIconButton reset_;
  int style_ = 0;
  DUIListView list_;
};
