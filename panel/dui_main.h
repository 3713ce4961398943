// The panel's root ("op_area"): the tab row across the top (38 pixels) and
// the page area below it. Other children get no window.
#pragma once
#include "panel/dui_ctrl.h"

class DUIMain : public DUICtrl {
 public:
  static constexpr int kTabRowHeight = 38;

  BEGIN_MSG_MAP(DUIMain)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
  END_MSG_MAP()

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
};
