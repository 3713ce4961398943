#include "panel/dui_tab_button.h"

#include "config/ui_font.h"
#include "framework/gdi.h"
#include "framework/text.h"

void DUITabButton::SetAttributes(std::unique_ptr<AttributeList> list) {
  DUICtrl::SetAttributes(std::move(list));
  Repaint();
}

void DUITabButton::SetSelected(bool selected) {
  selected_ = selected;
  Repaint();
}

void DUITabButton::PaintTo(HDC dc) {
  RECT client{};
  GetClientRect(&client);
  FillSolid(dc, client, RGB(255, 255, 255));
  SelectScope font(dc, GetUiFont(kFontPixels));
  RECT rule = client;
  rule.top = client.bottom - (selected_ ? 2 : 1);
  FillSolid(dc, rule, selected_ ? kSelectedColor : kRuleColor);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected_ ? kSelectedColor : kNormalText);
  DrawTextUtf8(dc, name(), &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

LRESULT DUITabButton::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&) {
  SendEvent("click");
  return 0;
}
