// A page of parameter sliders ("page_adjust"): a "返回" (back) button at the
// top left, a "重置参数" (reset) button at the top right, the name as a
// title (large with "style" 1) and the rows in an embedded one-column list
// of 320 x 22 rows. The buttons only ask the phone ("custom" with
// event="back" or event="reset"); the phone answers by changing the panel.
//
// The list carries the page's id from start to end, so every row reports
// the page as its parent whether it came before or after the window.
#pragma once
#include "panel/dui_page.h"
#include "widgets/icon_button.h"

class DUIPageAdjust : public DUIPage {
 public:
  static constexpr UINT kBackId = 3;
  static constexpr UINT kResetId = 4;

  BEGIN_MSG_MAP(DUIPageAdjust)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    CHAIN_MSG_MAP(DUIPage)
  END_MSG_MAP()

  // The page's attributes, then "style".
  void SetAttributes(std::unique_ptr<AttributeList> list) override;
  void GetOwnedControls(std::vector<DUICtrl*>& out) const override { list_.GetChildren(out); }
  void PaintTo(HDC dc) override;

  HWND backButton() const { return back_; }
  HWND resetButton() const { return reset_; }

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
  void CreateButton(CIconButton& button, UINT id, const RECT& place, const char* text, int firstImage,
                    int fontPixels);

  CIconButton back_;
  CIconButton reset_;
  int style_ = 0;
};
