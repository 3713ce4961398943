#include "app/connection_view.h"

#include "resources/picture_ids.h"
#include "widgets/combo_box.h"
#include "widgets/icon_button.h"
#include "widgets/image_helpers.h"
#include "widgets/loading_button.h"

namespace {

struct ButtonLook {
  int faces[3];  // normal, hot, pressed; the disabled face is the normal one
  int icon;
  bool spinning;
  const char* text;
  COLORREF color;
};

const ButtonLook& LookOf(ConnectionState state) {
  static const ButtonLook idle{{IDB_CONNECT_NORMAL, IDB_CONNECT_HOT, IDB_CONNECT_PRESSED},
                               IDB_CONNECT_ICON,
                               false,
                               "马上连接",
                               ConnectionView::kIdleTextColor};
  static const ButtonLook connecting{{IDB_CONNECT_NORMAL, IDB_CONNECT_HOT, IDB_CONNECT_PRESSED},
                                     IDB_CONNECT_SPINNER,
                                     true,
                                     "正在连接",
                                     ConnectionView::kIdleTextColor};
  static const ButtonLook connected{{IDB_DISCONNECT_NORMAL, IDB_DISCONNECT_HOT, IDB_DISCONNECT_PRESSED},
                                    IDB_DISCONNECT_ICON,
                                    false,
                                    "断开连接",
                                    ConnectionView::kConnectedTextColor};
  switch (state) {
    case ConnectionState::kConnecting:
      return connecting;
    case ConnectionState::kConnected:
      return connected;
    default:
      return idle;
  }
}

}  // namespace

void ConnectionView::SetButtonLook(ConnectionState state) {
  LoadingButton* button = controls_.connect;
  if (!button || !button->IsWindow()) return;
  const ButtonLook& look = LookOf(state);
  button->SetImages(look.faces[0], look.faces[1], look.faces[2], look.faces[0]);
  button->SetSpinner(GpImagePtr(LoadPngResource(look.icon).release()), look.spinning);
  button->SetText(look.text);
  button->SetTextColor(look.color);
  button->SetEnabled(state != ConnectionState::kConnecting);
  button->Invalidate(FALSE);
}

void ConnectionView::SetWidth(int width) {
  if (controls_.window)
    ::SetWindowPos(controls_.window, nullptr, 0, 0, width, kHeight, SWP_NOMOVE | SWP_NOZORDER);
}

void ConnectionView::ShowIdleButton() {
  SetButtonLook(ConnectionState::kIdle);
}

void ConnectionView::Show(ConnectionState state) {
  state_ = state;
  SetButtonLook(state);
  if (state == ConnectionState::kConnecting) return;

  const bool connected = state == ConnectionState::kConnected;
  SetWidth(connected ? kConnectedWidth : kIdleWidth);
  if (panel_ && ::IsWindow(panel_)) ::ShowWindow(panel_, connected ? SW_SHOW : SW_HIDE);
  if (controls_.deviceBox && controls_.deviceBox->IsWindow()) controls_.deviceBox->EnableWindow(!connected);
  if (controls_.refresh && controls_.refresh->IsWindow()) controls_.refresh->SetEnabled(!connected);
  for (CIconButton* overlay : controls_.overlays)
    if (overlay && overlay->IsWindow()) overlay->ShowWindow(connected ? SW_SHOW : SW_HIDE);
}
