#include "panel/dui_page_list.h"

#include <algorithm>

void DUIPageList::SetAttributes(std::unique_ptr<AttributeList> list) {
  DUIPage::SetAttributes(std::move(list));
  if (!attributes()) return;
  // Bounded like the grid, so the list's rectangle cannot overflow.
  const int limit = DUIListView::kMaxGridPixels;
  paddingLeft_ = std::clamp(attributes()->GetInt("list_padding_left", paddingLeft_), 0, limit);
  paddingTop_ = std::clamp(attributes()->GetInt("list_padding_top", paddingTop_), 0, limit);
}

LRESULT DUIPageList::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  RECT client{};
  GetClientRect(&client);
  list_.Create(m_hWnd, RECT{paddingLeft_, paddingTop_, client.right, client.bottom});
  return 0;
}
