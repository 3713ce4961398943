#include "app/window_frame.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/gdi.h"

namespace {

constexpr int kCornerSize = 4;
// Narrower than this is a minimised or collapsing window: keep its shape.
constexpr int kMinShapedWidth = 200;

int Width(const RECT& r) {
  return r.right - r.left;
}
int Height(const RECT& r) {
  return r.bottom - r.top;
}

// Centres a span of `size` on `refMid`, then keeps it within [low, high).
int CenteredWithin(int refMid, int size, int low, int high) {
  int pos = refMid - size / 2;
  if (pos + size > high) pos = high - size;
  return std::max(pos, low);
}

void CenterInParent(HWND window, const RECT& rc) {
  RECT parent;
  ::GetClientRect(::GetParent(window), &parent);
  int x = (Width(parent) - Width(rc)) / 2, y = (Height(parent) - Height(rc)) / 2;
  ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void CenterWindow(HWND window, HWND reference) {
  RECT rc;
  if (!::GetWindowRect(window, &rc)) return;
  if (::GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) {
    CenterInParent(window, rc);
    return;
  }
  if (!reference) reference = ::GetWindow(window, GW_OWNER);
  if (reference && (!::IsWindowVisible(reference) || ::IsIconic(reference))) reference = nullptr;

  MONITORINFO info{sizeof info};
  HMONITOR monitor = ::MonitorFromWindow(reference ? reference : window, MONITOR_DEFAULTTONEAREST);
  if (!monitor || !::GetMonitorInfoA(monitor, &info)) return;
  const RECT& work = info.rcWork;
  RECT ref = work;
  if (reference) ::GetWindowRect(reference, &ref);

  int x = CenteredWithin((ref.left + ref.right) / 2, Width(rc), work.left, work.right);
  int y = CenteredWithin((ref.top + ref.bottom) / 2, Height(rc), work.top, work.bottom);
  ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetRoundedRegion(HWND window, int width, int height) {
  RegionHandle outline(::CreateRoundRectRgn(0, 0, width, height, kCornerSize, kCornerSize));
  if (::SetWindowRgn(window, outline.get(), FALSE)) outline.release();  // the window owns it now
}

void WindowFrame::SetTitleButtons(HWND close, HWND minimize, HWND settings) {
  close_ = close;
  minimize_ = minimize;
  settings_ = settings;
}

void WindowFrame::OnSize() {
  RECT client{};
  ::GetClientRect(window_, &client);
  int width = Width(client);
  if (width > kMinShapedWidth && ::IsWindow(close_)) {
    SetRoundedRegion(window_, width, Height(client));
    const struct {
      HWND button;
      int offset;
    } buttons[] = {{close_, kCloseOffset}, {minimize_, kMinimizeOffset}, {settings_, kSettingsOffset}};
    for (const auto& b : buttons)
      if (b.button) ::MoveWindow(b.button, width - b.offset, kButtonTop, kButtonSize, kButtonSize, TRUE);
  }
  captionRect_ = client;
  captionRect_.bottom = kCaptionHeight;
  ::InvalidateRect(window_, nullptr, TRUE);
}

bool WindowFrame::OnLButtonDown(LPARAM point) {
  POINT pt{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
  if (!::PtInRect(&captionRect_, pt)) return false;
  ::SendMessageA(window_, WM_NCLBUTTONDOWN, HTCAPTION, point);
  return true;
}

void WindowFrame::Minimize() {
  ::ShowWindow(window_, SW_MINIMIZE);
}
