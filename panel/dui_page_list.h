// A page of picture tiles ("page_list"): its name as a grey title and its
// items in the embedded scrolling grid at ("list_padding_left",
// "list_padding_top"). The page's children are the grid's, also for the
// searches by id.
#pragma once
#include "panel/dui_page.h"

class DUIPageList : public DUIPage {
 public:
  static constexpr int kTitleX = 20;
  static constexpr int kTitleY = 32;

  BEGIN_MSG_MAP(DUIPageList)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    CHAIN_MSG_MAP(DUIPage)
  END_MSG_MAP()

  // The page's attributes, then the paddings (bounded like the grid).
  void SetAttributes(std::unique_ptr<AttributeList> list) override;
  void GetChildren(std::vector<DUICtrl*>& out) const override { list_.GetChildren(out); }
  void PaintTo(HDC dc) override { PaintTitledPage(dc, kTitleX, kTitleY, 14); }

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);

  int paddingLeft_ = 38;
  int paddingTop_ = 86;
};
