#include "panel/dui_page_adjust.h"

#include <string>

#include "resources/picture_ids.h"

void DUIPageAdjust::SetAttributes(std::unique_ptr<AttributeList> list) {
  DUIPage::SetAttributes(std::move(list));
  if (attributes()) style_ = attributes()->GetInt("style", style_);
}

void DUIPageAdjust::CreateButton(CIconButton& button, UINT id, const RECT& place, const char* text,
                                 int firstImage, int fontPixels) {
  if (!button.Create(m_hWnd, place, text, WS_CHILD | WS_VISIBLE, 0, id)) return;
  button.SetText(text);
  // Normal, hot and pressed pictures follow each other; disabled reuses normal.
  button.SetImages(firstImage, firstImage + 1, firstImage + 2, firstImage);
  button.SetTextColors(RGB(128, 128, 128), RGB(250, 108, 156), RGB(214, 82, 126), RGB(128, 128, 128));
  button.SetFontSize(fontPixels);
  button.SetIconGap(5);
}

LRESULT DUIPageAdjust::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  RECT client{};
  GetClientRect(&client);
  const int width = client.right;
  CreateButton(back_, kBackId, RECT{18, 26, 118, 48}, "返回", IDB_PAGE_BACK_NORMAL, 14);
  CreateButton(reset_, kResetId, RECT{width - 100, 26, width, 48}, "重置参数", IDB_PAGE_RESET_NORMAL, 12);
  // One column of slider rows 47 pixels apart; the page's id stays on the
  // list so rows inserted from now on report the page as their parent.
  auto grid = std::make_unique<AttributeList>();
  grid->Add("id", std::to_string(id()));
  grid->Add("spacex", "0");
  grid->Add("spacey", "25");
  grid->Add("item_width", "320");
  grid->Add("item_height", "22");
  grid->Add("col", "1");
  list_.SetAttributes(std::move(grid));
  list_.Create(m_hWnd, RECT{20, style_ == 1 ? 128 : 126, width, client.bottom});
  return 0;
}

LRESULT DUIPageAdjust::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL&) {
  switch (LOWORD(wParam)) {
    case kBackId:
      SendEvent("custom", {{"event", "back"}});
      break;
    case kResetId:
      SendEvent("custom", {{"event", "reset"}});
      break;
    default:
      break;
  }
  return 0;
}

void DUIPageAdjust::PaintTo(HDC dc) {
  const bool large = style_ == 1;
  PaintTitledPage(dc, 20, large ? 80 : 82, large ? 18 : 14);
}
