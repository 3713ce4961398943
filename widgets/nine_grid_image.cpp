#include "widgets/nine_grid_image.h"

#include "framework/gdi.h"
#include "widgets/image_helpers.h"

NineGridImage::NineGridImage() : blend_{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA} {}

void NineGridImage::SetSplits(int x1, int x2, int y1, int y2) {
  splits_ = PairSplits(x1, x2, y1, y2);
}

void NineGridImage::SetBitmap(HBITMAP bitmap, bool owns) {
  if (bitmap == bitmap_) {
    // Same picture: only who deletes it changes.
    if (!owns) owned_.release();
    if (owns && !owned_) owned_.reset(bitmap);
    return;
  }
  owned_.reset(owns ? bitmap : nullptr);
  bitmap_ = bitmap;
  SIZE size = BitmapSize(bitmap);
  width_ = size.cx;
  height_ = size.cy;
}

void NineGridImage::Draw(HDC target, HDC scratch, int x, int y, int width, int height) {
  if (!bitmap_ || width_ == 0 || height_ == 0) return;
  int oldMode = SetStretchBltMode(target, BLACKONWHITE);
  SelectScope selected(scratch, bitmap_);
  splits_ = ResolveSplits(splits_, width_, height_);
  for (const BlendPiece& p : NineGridPieces(splits_, width_, height_, x, y, width, height)) {
    AlphaBlend(target, p.dx, p.dy, p.dw, p.dh, scratch, p.sx, p.sy, p.sw, p.sh, blend_);
  }
  SetStretchBltMode(target, oldMode);
}
