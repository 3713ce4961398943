// A decoration tile ("decor_item"): the sticker's picture centred on white,
// framed by a pink rounded outline while selected. No name is shown.
#pragma once
#include "panel/dui_tile_item.h"

class DUIDecorItem : public DUITileItem {
 public:
  BEGIN_MSG_MAP(DUIDecorItem)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    CHAIN_MSG_MAP(DUITileItem)
  END_MSG_MAP()

  // Common attributes, then "image".
  void SetAttributes(std::unique_ptr<AttributeList> list) override;
  void PaintTo(HDC dc) override;

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);

  HBITMAP frame_ = nullptr;  // a shared decoration picture
};
