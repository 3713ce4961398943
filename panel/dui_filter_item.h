// A filter tile ("filter_item"): the filter's picture in the top square and
// its name below. Selected, a translucent overlay in the item's mask colour
// covers the picture with a mark on it (a check on a cancel tile, an
// adjust knob otherwise) and the name sits on a band of that colour. Tiles
// named like "no filter" are plain: grey, dark name, no band until selected.
// The pointer over the tile makes overlay and band opaque.
#pragma once
#include "panel/dui_tile_item.h"

class DUIFilterItem : public DUITileItem {
 public:
  static constexpr int kMaskColor = 0xE75988;  // 0xRRGGBB, as the phone writes it
  static constexpr int kBandHeight = 22;

  BEGIN_MSG_MAP(DUIFilterItem)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSEHOVER, OnMouseHover)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    CHAIN_MSG_MAP(DUITileItem)
  END_MSG_MAP()

  // Common attributes, then "image", "mask_color" and "is_cancel" (both
  // keeping their value when absent).
  void SetAttributes(std::unique_ptr<AttributeList> list) override;
  void PaintTo(HDC dc) override;

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseHover(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);

  HBITMAP mark_ = nullptr;  // a shared decoration picture
  int maskColor_ = kMaskColor;
  int isCancel_ = 0;
  bool plain_ = false;  // once set, stays set
  bool hover_ = false;
};
