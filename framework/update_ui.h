// Enables and labels child controls by command id across registered
// container windows (the dialog and any child containers it adds).
#pragma once
#include <windows.h>

#include <vector>

template <class T>
class CUpdateUI {
 public:
  BOOL UIAddChildWindowContainer(HWND container) {
    for (HWND h : containers_)
      if (h == container) return FALSE;
    containers_.push_back(container);
    return TRUE;
  }
  // Enables or disables every control with `id` in the containers; FALSE when none exists.
  BOOL UIEnable(int id, BOOL enable) {
    return ForEach(id, [enable](HWND ctl) { ::EnableWindow(ctl, enable); });
  }
  BOOL UISetText(int id, const char* text) {
    return ForEach(id, [text](HWND ctl) { ::SetWindowTextA(ctl, text); });
  }

 private:
  template <class Fn>
  BOOL ForEach(int id, Fn fn) {
    BOOL any = FALSE;
    for (HWND container : containers_) {
      if (HWND ctl = ::GetDlgItem(container, id)) {
        fn(ctl);
        any = TRUE;
      }
    }
    return any;
  }
  std::vector<HWND> containers_;
};
