#include "panel/item_picture.h"

#include "link/dui_resource_store.h"
#include "panel/core/attribute_list.h"
#include "widgets/button_support.h"

#include <string>
#include <unordered_map>

namespace {

std::shared_ptr<const BitmapHandle> Decode(const BlobData& blob) {
  GpBitmapPtr decoded = LoadBitmapFromMemory(blob.data(), blob.size());
  if (!decoded) return nullptr;
  UINT width = 0, height = 0;
  Gdiplus::DllExports::GdipGetImageWidth(decoded.get(), &width);
  Gdiplus::DllExports::GdipGetImageHeight(decoded.get(), &height);
  // A tile shows 68 pixels: a giant picture would only cost time to shrink.
  if (width == 0 || height == 0 || width > ItemPicture::kMaxSide || height > ItemPicture::kMaxSide)
    return nullptr;
  GpBitmapPtr fitted = ScaleToFit(decoded.get(), ItemPicture::kBox);
  BitmapHandle converted = ToHBitmap(fitted.get(), 0);  // transparent where the picture is
  if (!converted) return nullptr;
  return std::make_shared<const BitmapHandle>(std::move(converted));
}

// The tile picture of a stored blob, decoded once: the phone rebuilds its
// panel with the same pictures (each "config", each reconnect), and decoding
// is most of a tile's cost. One entry per blob name, so the cache is bounded
// by the store's own cap on names; an entry counts only while the store still
// holds the very blob it was decoded from (a replaced blob is decoded anew).
// Failures are remembered too. Window thread only.
std::shared_ptr<const BitmapHandle> DecodedBlobPicture(const std::string& name, const BlobSnapshot& blob) {
  struct Entry {
    std::weak_ptr<const BlobData> blob;  // does not keep the bytes alive
    std::shared_ptr<const BitmapHandle> picture;
  };
  static auto* cache = new std::unordered_map<std::string, Entry>();  // lives to the end of the run
  Entry& entry = (*cache)[name];
  if (entry.blob.lock() != blob) entry = Entry{blob, Decode(*blob)};
  return entry.picture;
}

}  // namespace

void ItemPicture::Apply(const AttributeList* attributes) {
  if (!attributes) return;
  const std::string name = attributes->GetString("image");
  if (name.empty()) return;
  // The snapshot keeps the bytes alive while they are decoded, even if the
  // stream thread replaces the blob meanwhile; the store's lock is not held.
  BlobSnapshot blob = DUIResourceStore::Instance().FindResource(name);
  if (!blob) return;
  // A replaced picture is released when its last item lets go of it.
  if (std::shared_ptr<const BitmapHandle> picture = DecodedBlobPicture(name, blob))
    bitmap_ = std::move(picture);
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
