#include "panel/dui_filter_item.h"

#include "config/ui_font.h"
#include "framework/text.h"
#include "panel/decoration_pictures.h"
#include "resources/picture_ids.h"
#include "widgets/gdiplus_owners.h"
#include "widgets/text_scope.h"

namespace {

// Blends `rc` with an 0xRRGGBB colour at `alpha` over what is drawn.
void FillTranslucent(HDC dc, const RECT& rc, int rgb, BYTE alpha) {
  GpGraphicsPtr graphics = CreateSmoothGraphics(dc);
  if (!graphics) return;
  GpBrushPtr brush = CreateArgbBrush((static_cast<Gdiplus::ARGB>(alpha) << 24) | (rgb & 0xFFFFFF));
  Gdiplus::DllExports::GdipFillRectangleI(graphics.get(), brush.get(), rc.left, rc.top, rc.right - rc.left,
                                          rc.bottom - rc.top);
  Gdiplus::DllExports::GdipFlush(graphics.get(), Gdiplus::FlushIntentionSync);
}

bool IsPlainName(const std::string& name) {
  return name == "原图" || name == "无" || name == "取消";
}

}  // namespace

void DUIFilterItem::SetAttributes(std::unique_ptr<AttributeList> list) {
  DUITileItem::SetAttributes(std::move(list));
  const AttributeList* attributes = this->attributes();
  if (!attributes) return;
  picture_.Apply(attributes);
  maskColor_ = attributes->GetInt("mask_color", maskColor_);
  isCancel_ = attributes->GetInt("is_cancel", isCancel_);
  if (IsPlainName(name())) plain_ = true;
}

LRESULT DUIFilterItem::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  // Chosen once: a later "is_cancel" does not change the mark.
  mark_ = DecorationPicture(isCancel_ ? IDB_ITEM_MARK_CHECK : IDB_ITEM_MARK_ADJUST);
  return 0;
}

void DUIFilterItem::PaintTo(HDC dc) {
  RECT client{};
  GetClientRect(&client);
  const int W = client.right, H = client.bottom;
  FillSolid(dc, client, !plain_ ? RGB(255, 255, 255) : hover_ ? RGB(224, 224, 224) : RGB(240, 240, 240));
  SelectScope font(dc, GetUiFont(12));
  // Without a picture the tile stays blank, name included.
  if (!picture_.get()) return;
  BlendItemBitmapInSquare(dc, picture_.get(), W);
  if (selected()) {
    FillTranslucent(dc, RECT{0, 0, W, W}, maskColor_, hover_ ? 255 : 0xE5);
    BlendItemBitmapInSquare(dc, mark_, W);
  }
  const bool banded = !plain_ || selected();
  if (banded) FillTranslucent(dc, RECT{0, W, W, W + kBandHeight}, maskColor_, hover_ ? 255 : 0xB2);
  TransparentTextScope text(dc, banded ? RGB(255, 255, 255) : RGB(76, 76, 76));
  RECT nameRect{0, W, W, H};
  DrawTextUtf8(dc, name(), &nameRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

LRESULT DUIFilterItem::OnMouseMove(UINT, WPARAM, LPARAM, BOOL&) {
  // Hover after 1 ms: the tile lights up as soon as the pointer rests on it.
  TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, m_hWnd, 1};
  TrackMouseEvent(&track);
  return 0;
}

LRESULT DUIFilterItem::OnMouseHover(UINT, WPARAM, LPARAM, BOOL&) {
  hover_ = true;
  Repaint();
  return 0;
}

LRESULT DUIFilterItem::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&) {
  hover_ = false;
  Repaint();
  return 0;
}
