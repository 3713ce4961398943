#include "widgets/loading_button.h"

#include "config/ui_font.h"
#include "framework/text.h"
#include "widgets/text_scope.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

void LoadingButton::SetSpinner(GpImagePtr spinner, bool spinning) {
  spinner_ = std::move(spinner);
  spinning_ = spinning;
  angle_ = 0;
  if (!IsWindow()) return;
  if (spinning_) {
    SetTimer(kSpinTimer, kSpinIntervalMs);
  } else {
    KillTimer(kSpinTimer);
  }
  Repaint();
}

void LoadingButton::SetTextColor(COLORREF color) {
  textColor_ = color;
  if (IsWindow()) Repaint();
}

LRESULT LoadingButton::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if (wParam != kSpinTimer) {
    handled = FALSE;
    return 0;
  }
  angle_ += kSpinStepDegrees;
  Invalidate(FALSE);
  return 0;
}

void LoadingButton::Draw(HDC target, HDC scratch) {
  RECT client{};
  GetClientRect(&client);
  ParentDrawnViewport viewport = EnterParentPlace(target);
  if (!IsRectEmpty(&client)) DrawStatePicture(target, scratch, client);

  SelectScope font(target, GetUiFont(kLabelFontSize));
  TransparentTextScope text(target, textColor_);
  RECT textRect = client;
  if (spinner_) {
    DrawSpinner(target, client);
    UINT width = 0;
    GdipGetImageWidth(spinner_.get(), &width);
    textRect.left = static_cast<LONG>(width) + kLabelAfterIcon;
  } else {
    textRect.left = kContentLeft;
  }
  lastTextLeft_ = textRect.left;
  DrawTextUtf8(target, text_, &textRect, DT_VCENTER | DT_SINGLELINE);
}

void LoadingButton::DrawSpinner(HDC target, const RECT& client) {
  UINT width = 0, height = 0;
  GdipGetImageWidth(spinner_.get(), &width);
  GdipGetImageHeight(spinner_.get(), &height);
  int clientHeight = client.bottom - client.top;
  // Unsigned halving: an icon taller than the button wraps far off-screen.
  int top = client.top + static_cast<int>((static_cast<UINT>(clientHeight) - height) / 2);
  GpGraphicsPtr graphics = CreateSmoothGraphics(target);
  if (!graphics) return;
  if (spinning_) {
    // Rotate about the icon's centre: translate there, rotate, translate back.
    REAL cx = static_cast<REAL>(kContentLeft) + static_cast<REAL>(width) / 2;
    REAL cy = static_cast<REAL>(clientHeight) / 2;
    GdipTranslateWorldTransform(graphics.get(), cx, cy, MatrixOrderPrepend);
    GdipRotateWorldTransform(graphics.get(), static_cast<REAL>(angle_), MatrixOrderPrepend);
    GdipTranslateWorldTransform(graphics.get(), -cx, -cy, MatrixOrderPrepend);
  }
  GdipDrawImageRectI(graphics.get(), spinner_.get(), kContentLeft, top, static_cast<INT>(width),
                     static_cast<INT>(height));
}
