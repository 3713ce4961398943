#include "panel/item_picture.h"

#include "link/dui_resource_store.h"
#include "panel/core/attribute_list.h"
#include "widgets/button_support.h"

void ItemPicture::Apply(const AttributeList* attributes) {
  if (!attributes) return;
  const std::string name = attributes->GetString("image");
  if (name.empty()) return;
  // The snapshot keeps the bytes alive while they are decoded, even if the
  // stream thread replaces the blob meanwhile; the store's lock is not held.
  BlobSnapshot blob = DUIResourceStore::Instance().FindResource(name);
  if (!blob) return;
  GpBitmapPtr decoded = LoadBitmapFromMemory(blob->data(), blob->size());
  if (!decoded) return;
  UINT width = 0, height = 0;
  Gdiplus::DllExports::GdipGetImageWidth(decoded.get(), &width);
  Gdiplus::DllExports::GdipGetImageHeight(decoded.get(), &height);
  // A tile shows 68 pixels: a giant picture would only cost time to shrink.
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return;
  GpBitmapPtr fitted = ScaleToFit(decoded.get(), kBox);
  BitmapHandle converted = ToHBitmap(fitted.get(), 0);  // transparent where the picture is
  // The old bitmap is released here: nothing else refers to it.
  if (converted) bitmap_ = std::move(converted);
}

void BlendItemBitmap(HDC target, HBITMAP bitmap, int x, int y) {
  if (!bitmap) return;
  UniqueMemoryDC scratch(CreateCompatibleDC(target));
  BlendBitmapAt(target, scratch.get(), bitmap, x, y, 255);
}

void BlendItemBitmapStretched(HDC target, HBITMAP bitmap, const RECT& area) {
  if (!bitmap) return;
  SIZE size = BitmapSize(bitmap);
  UniqueMemoryDC scratch(CreateCompatibleDC(target));
  SelectScope selected(scratch.get(), bitmap);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(target, area.left, area.top, area.right - area.left, area.bottom - area.top, scratch.get(), 0, 0,
             size.cx, size.cy, blend);
}

void BlendItemBitmapInSquare(HDC target, HBITMAP bitmap, int side) {
  SIZE size = BitmapSize(bitmap);
  BlendItemBitmap(target, bitmap, (side - size.cx) / 2, (side - size.cy) / 2);
}
