// The panel's tab row ("tab_holder"): its "tab" children side by side in
// equal slots of the full width (a child of another class keeps its slot
// empty), and the tab whose id is "selected" drawn as selected. It lays the
// row out again whenever a tab comes or goes; it paints nothing itself.
#pragma once
#include "panel/dui_ctrl.h"

class DUITabHolder : public DUICtrl {
 public:
  BEGIN_MSG_MAP(DUITabHolder)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
  END_MSG_MAP()

  void SetAttributes(std::unique_ptr<AttributeList> list) override;
  void InsertChild(std::unique_ptr<DUICtrl> child, int index) override;
  void RemoveChild(int id) override;
  int selected() const { return selected_; }

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  void Layout();
  void MarkSelectedTab();

  int selected_ = 0;
};
