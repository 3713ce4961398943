// The panel's page area ("page_switch"): every "page_list" and
// "page_adjust" child covers the whole area and only the one whose id is
// "selected" is shown. The phone switches pages by modifying "selected";
// children of other classes get no window.
#pragma once
#include "panel/dui_ctrl.h"

class DUIPageHolder : public DUICtrl {
 public:
  BEGIN_MSG_MAP(DUIPageHolder)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
  END_MSG_MAP()

  void SetAttributes(std::unique_ptr<AttributeList> list) override;
  // A page inserted once the area exists gets its window at once, shown
  // when it is the selected one, so a later page works like the first ones.
  void InsertChild(std::unique_ptr<DUICtrl> child, int index) override;

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  int SelectedPage() const;
  // Creates the page's window when it has none; shows it only when selected.
  void PlacePage(DUICtrl& page, int selected);
};
