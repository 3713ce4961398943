#include "panel/dui_decor_item.h"

#include "panel/decoration_pictures.h"
#include "resources/picture_ids.h"

void DUIDecorItem::SetAttributes(std::unique_ptr<AttributeList> list) {
  DUITileItem::SetAttributes(std::move(list));
  picture_.Apply(attributes());
}

LRESULT DUIDecorItem::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  frame_ = DecorationPicture(IDB_ITEM_SELECTED_FRAME);
  return 0;
}

void DUIDecorItem::PaintTo(HDC dc) {
  RECT client{};
  GetClientRect(&client);
  FillSolid(dc, client, RGB(255, 255, 255));
  SIZE size = picture_.size();
  BlendItemBitmap(dc, picture_.get(), (client.right - size.cx) / 2, (client.bottom - size.cy) / 2);
  if (selected()) BlendItemBitmapStretched(dc, frame_, client);
}
