#include "panel/dui_circle_item.h"

#include "config/ui_font.h"
#include "framework/text.h"
#include "panel/decoration_pictures.h"
#include "resources/picture_ids.h"
#include "widgets/gdiplus_owners.h"
#include "widgets/text_scope.h"

using namespace Gdiplus::DllExports;

void DUICircleItem::SetAttributes(std::unique_ptr<AttributeList> list) {
  DUITileItem::SetAttributes(std::move(list));
  const AttributeList* attributes = this->attributes();
  if (!attributes) return;
  isCancel_ = attributes->GetInt("is_cancel", isCancel_);
  picture_.Apply(attributes);
}

LRESULT DUICircleItem::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  ring_ = DecorationPicture(IDB_ITEM_RING_MASK);
  mark_ = DecorationPicture(IDB_ITEM_MARK_EDIT);
  return 0;
}

void DUICircleItem::PaintTo(HDC dc) {
  RECT client{};
  GetClientRect(&client);
  const int W = client.right;
  FillSolid(dc, client, RGB(255, 255, 255));
  SelectScope font(dc, GetUiFont(12));
  BlendItemBitmapInSquare(dc, picture_.get(), W);
  if (selected()) {
    if (GpGraphicsPtr graphics = CreateSmoothGraphics(dc)) {
      if (!isCancel_) {
        GpBrushPtr disc = CreateArgbBrush(0xCCE75988);
        GdipFillEllipseI(graphics.get(), disc.get(), -1, -1, W, W);
      } else {
        Gdiplus::GpPen* raw = nullptr;
        GdipCreatePen1(0xFFE75989, 2.0f, Gdiplus::UnitPixel, &raw);
        GpPenPtr pen(raw);
        if (pen) GdipDrawEllipseI(graphics.get(), pen.get(), 1, 1, W - 3, W - 3);
      }
      GdipFlush(graphics.get(), Gdiplus::FlushIntentionSync);
    }
    if (!isCancel_) BlendItemBitmapInSquare(dc, mark_, W);
  }
  // The mask turns the square into a disc on white, over picture and selection.
  BlendItemBitmapStretched(dc, ring_, RECT{0, 0, W, W});
  TransparentTextScope text(dc, RGB(51, 51, 51));
  RECT nameRect{client.left, W + 6, client.right, W + 20};
  DrawTextUtf8(dc, name(), &nameRect, DT_CENTER | DT_TOP | DT_SINGLELINE);
}
