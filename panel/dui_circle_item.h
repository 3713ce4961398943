// A round tile ("circle_item"): the picture shows through a disc cut out of
// a white mask, with the name below. Selected, a translucent pink disc with
// a pencil covers the picture, or, on a cancel tile ("is_cancel"), a thin
// pink circle surrounds it.
#pragma once
#include "panel/dui_tile_item.h"

class DUICircleItem : public DUITileItem {
 public:
  BEGIN_MSG_MAP(DUICircleItem)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    CHAIN_MSG_MAP(DUITileItem)
  END_MSG_MAP()

  // Common attributes, then "is_cancel" (keeping its value when absent) and "image".
  void SetAttributes(std::unique_ptr<AttributeList> list) override;
  void PaintTo(HDC dc) override;

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);

  HBITMAP ring_ = nullptr;  // shared decoration pictures
  HBITMAP mark_ = nullptr;
  int isCancel_ = 0;
};
