#include "panel/dui_page.h"

#include "config/ui_font.h"
#include "framework/gdi.h"
#include "framework/text.h"

void DUIPage::SetAttributes(std::unique_ptr<AttributeList> list) {
  DUICtrl::SetAttributes(std::move(list));
  if (attributes()) list_.SetAttributes(attributes()->Clone());
}

void DUIPage::InsertChild(std::unique_ptr<DUICtrl> child, int index) {
  if (dynamic_cast<DUIItem*>(child.get())) list_.InsertChild(std::move(child), index);
}

void DUIPage::PaintTitledPage(HDC dc, int x, int y, int pixels) {
  RECT client{};
  GetClientRect(&client);
  FillSolid(dc, client, RGB(255, 255, 255));
  SelectScope font(dc, GetUiFont(pixels));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kTitleColor);
  TextOutUtf8(dc, x, y, name());
}
