// The picture a panel item shows: a blob the phone sent, named by the item's
// "image" attribute, decoded and fitted into the tile's 68-pixel square, kept
// as a 32-bit bitmap with per-pixel alpha. Shared by the filter, decoration
// and circle items, with the bitmap blending they all draw with.
#pragma once
#include <windows.h>

#include <memory>

#include "framework/gdi.h"
#include "widgets/image_helpers.h"

class AttributeList;

class ItemPicture {
 public:
  static constexpr int kBox = 68;
  // Pictures wider or taller than this are refused like undecodable ones.
  static constexpr UINT kMaxSide = 4096;

  // Replaces the picture with the blob that "image" names, when that blob is
  // stored and decodes to a picture; anything else (no "image", a blob not
  // received yet, bytes that are no picture, a giant) keeps the current one. The
  // lookup happens here only, so a blob counts for commands after it.
  void Apply(const AttributeList* attributes);

  HBITMAP get() const { return bitmap_ ? bitmap_->get() : nullptr; }
  SIZE size() const { return BitmapSize(get()); }

 private:
  // Shared with every item that shows the same blob (see DecodedBlobPicture).
  std::shared_ptr<const BitmapHandle> bitmap_;
};

// Blends a premultiplied 32-bit bitmap at its own size with its top left at
// (x, y), or stretched over `area`; nothing for a null bitmap.
void BlendItemBitmap(HDC target, HBITMAP bitmap, int x, int y);
void BlendItemBitmapStretched(HDC target, HBITMAP bitmap, const RECT& area);
// Blends a bitmap centred in the square (0, 0, side, side).
void BlendItemBitmapInSquare(HDC target, HBITMAP bitmap, int side);
