// The inner window of a panel list that holds the item windows, so that
// scrolling moves them all at once. It hands wheel turns to the list and
// takes the focus when the pointer moves over it, so the wheel reaches the
// panel while the pointer is over a list.
#pragma once
#include "framework/window.h"

class CListContainer : public CWindowImpl<CListContainer> {
 public:
  BEGIN_MSG_MAP(CListContainer)
    MESSAGE_HANDLER(WM_MOUSEWHEEL, OnMouseWheel)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
  END_MSG_MAP()

 private:
  LRESULT OnMouseWheel(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
    ::SendMessageA(GetParent(), msg, wParam, lParam);
    return 0;
  }
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&) {
    if (::GetFocus() != m_hWnd) SetFocus();
    return 0;
  }
};
