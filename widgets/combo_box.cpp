#include "widgets/combo_box.h"

#include "config/ui_font.h"
#include "framework/text.h"
#include "resources/picture_ids.h"
#include "widgets/button_support.h"
#include "widgets/gdiplus_owners.h"
#include "widgets/image_helpers.h"
#include "widgets/mouse_input.h"
#include "widgets/text_scope.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

LRESULT ComboBox::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  RECT client{};
  GetClientRect(&client);
  if (client.right - client.left > 4 && client.bottom - client.top > 4) {
    textRect_ = RECT{client.left + 16, client.top + 1, client.right - 38, client.bottom - 2};
    arrowRect_ = RECT{client.right - 28, 0, client.right - 10, client.bottom};
  }
  arrowImages_[0] = LoadPngAsHBitmap(IDB_COMBO_OPEN_NORMAL, 0);
  arrowImages_[1] = LoadPngAsHBitmap(IDB_COMBO_OPEN_HOT, 0);
  arrowImages_[2] = LoadPngAsHBitmap(IDB_COMBO_CLOSED_NORMAL, 0);
  arrowImages_[3] = LoadPngAsHBitmap(IDB_COMBO_CLOSED_HOT, 0);
  return 0;
}

void ComboBox::SetText(const std::string& text) {
  text_ = text;
  if (IsWindow()) Invalidate(TRUE);
}

int ComboBox::SetCurSel(int index) {
  list_.SetCurSel(index);
  text_ = list_.GetText(index);
  if (IsWindow()) Invalidate(TRUE);
  return index;
}

void ComboBox::SetArrowState(WORD state) {
  if (arrowState_ == state) return;
  arrowState_ = state;
  InvalidateRect(&arrowRect_, FALSE);
}

LRESULT ComboBox::OnMouseMove(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  RequestMouseLeave(m_hWnd);
  POINT pt = PointFromLParam(lParam);
  if (PtInRect(&arrowRect_, pt)) {
    if (arrowState_ != kArrowHot && arrowState_ != kArrowPressed) SetArrowState(kArrowHot);
  } else {
    SetArrowState(kArrowNormal);
  }
  if (wParam != MK_LBUTTON) list_.SetClosedByClick(false);
  return 0;
}

LRESULT ComboBox::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&) {
  SetArrowState(kArrowNormal);
  return 0;
}

LRESULT ComboBox::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
  if (arrowState_ != kArrowPressed) {
    arrowState_ = kArrowPressed;
    Invalidate(TRUE);
    // The hook has already closed an open list on this very press and
    // marked it: then the press only closes, it does not reopen.
    if (!list_.ClosedByClick()) {
      if (!list_.IsWindow()) {
        OpenList();
      } else {
        list_.DestroyWindow();
      }
    }
  }
  list_.SetClosedByClick(false);
  return 0;
}

LRESULT ComboBox::OnLButtonUp(UINT, WPARAM, LPARAM lParam, BOOL&) {
  POINT pt = PointFromLParam(lParam);
  if (PtInRect(&arrowRect_, pt) && arrowState_ != kArrowHot) {
    arrowState_ = kArrowHot;
    InvalidateRect(&arrowRect_, TRUE);
  }
  return 0;
}

void ComboBox::OpenList() {
  open_ = true;
  RECT field{};
  GetWindowRect(&field);
  // The list covers the field's bottom border line.
  RECT rc{field.left, field.bottom - 1, field.right, 0};
  rc.bottom = rc.top + std::max(1, list_.GetCount() * CComboBoxList::kRowHeight);
  if (list_.Create(m_hWnd, rc)) {
    list_.SetWindowPos(
        nullptr, 0, 0, 0, 0,
        SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
  }
}

LRESULT ComboBox::OnListSelect(UINT, WPARAM, LPARAM, BOOL&) {
  text_ = list_.GetText(list_.GetCurSel());
  if (listener_) listener_->OnSelChange(this, text_.c_str());
  return 0;
}

LRESULT ComboBox::OnListClosed(UINT, WPARAM, LPARAM, BOOL&) {
  open_ = false;
  Invalidate(FALSE);
  return 0;
}

void ComboBox::DrawOutline(HDC dc, const RECT& client) {
  GpGraphicsPtr graphics = CreateSmoothGraphics(dc);
  if (!graphics) return;
  GpPen* rawPen = nullptr;
  GdipCreatePen1(0xFFE0E0E0, 1.0f, UnitPixel, &rawPen);
  GpPenPtr pen(rawPen);
  GpPath* rawPath = nullptr;
  GdipCreatePath(FillModeAlternate, &rawPath);
  GpPathPtr path(rawPath);
  const REAL w = static_cast<REAL>(client.right - client.left - 1);
  const REAL h = static_cast<REAL>(client.bottom - client.top - 1);
  const REAL top = 2.0f;
  // While the list is open the bottom corners are square, joining the list.
  const REAL bottom = open_ ? 0.0f : 2.0f;
  auto arc = [&](REAL x, REAL y, REAL r, REAL start) {
    if (r > 0) GdipAddPathArc(path.get(), x, y, 2 * r, 2 * r, start, 90.0f);
  };
  arc(0, 0, top, 180.0f);
  GdipAddPathLine(path.get(), top, 0, w - top, 0);
  arc(w - 2 * top, 0, top, 270.0f);
  GdipAddPathLine(path.get(), w, top, w, h - bottom);
  arc(w - 2 * bottom, h - 2 * bottom, bottom, 0.0f);
  GdipAddPathLine(path.get(), w - bottom, h, bottom, h);
  arc(0, h - 2 * bottom, bottom, 90.0f);
  GdipAddPathLine(path.get(), 0, h - bottom, 0, top);
  GdipClosePathFigure(path.get());
  GdipDrawPath(graphics.get(), pen.get(), path.get());
}

void ComboBox::PaintTo(HDC dc) {
  RECT client{};
  GetClientRect(&client);
  FillSolid(dc, client, RGB(255, 255, 255));
  DrawOutline(dc, client);

  int index = (open_ ? 0 : 2) + (arrowState_ == kArrowNormal ? 0 : 1);
  MemoryDC scratch(dc, 1, 1);
  BlendBitmapCentred(dc, scratch.get(), arrowImages_[index].get(), arrowRect_, 255);

  SelectScope font(dc, GetUiFont(13));
  TransparentTextScope text(dc, open_ ? kOpenTextColor : RGB(0, 0, 0));
  RECT textRect = textRect_;
  DrawTextUtf8(dc, text_, &textRect, DT_VCENTER | DT_SINGLELINE);
}
