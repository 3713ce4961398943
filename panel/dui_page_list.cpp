#include "panel/dui_page_list.h"

#include <algorithm>

#include "config/ui_font.h"
#include "framework/gdi.h"
#include "framework/text.h"

DUIPageList::~DUIPageList() {
  DestroyDetached();
}

void DUIPageList::SetAttributes(std::unique_ptr<AttributeList> list) {
  DUICtrl::SetAttributes(std::move(list));
  if (!attributes()) return;
  list_.SetAttributes(attributes()->Clone());
  // Bounded like the grid, so the list's rectangle cannot overflow.
  const int limit = DUIListView::kMaxGridPixels;
  paddingLeft_ = std::clamp(attributes()->GetInt("list_padding_left", paddingLeft_), 0, limit);
  paddingTop_ = std::clamp(attributes()->GetInt("list_padding_top", paddingTop_), 0, limit);
}

void DUIPageList::InsertChild(std::unique_ptr<DUICtrl> child, int index) {
  if (dynamic_cast<DUIItem*>(child.get())) list_.InsertChild(std::move(child), index);
}

LRESULT DUIPageList::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  RECT client{};
  GetClientRect(&client);
  list_.Create(m_hWnd, RECT{paddingLeft_, paddingTop_, client.right, client.bottom});
  return 0;
}

void DUIPageList::PaintTo(HDC dc) {
  RECT client{};
  GetClientRect(&client);
  FillSolid(dc, client, RGB(255, 255, 255));
  SelectScope font(dc, GetUiFont(14));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kTitleColor);
  TextOutUtf8(dc, kTitleX, kTitleY, name());
}
