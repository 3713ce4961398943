#include "panel/dui_main.h"

LRESULT DUIMain::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  RECT client{};
  GetClientRect(&client);
  for (const auto& child : children_) {
    if (child->className() == "tab_holder") {
      child->Create(m_hWnd, RECT{0, 0, client.right, kTabRowHeight});
    } else if (child->className() == "page_switch") {
      child->Create(m_hWnd, RECT{0, kTabRowHeight, client.right, client.bottom});
    }
  }
  return 0;
}
