#include "panel/dui_page_list.h"

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
  paddingLeft_ = attributes()->GetInt("list_padding_left", paddingLeft_);
  paddingTop_ = attributes()->GetInt("list_padding_top", paddingTop_);
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
