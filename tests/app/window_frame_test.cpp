// Window behaviour on real top-level windows: the region and title buttons
// following the size, dragging from the caption band, minimising, centring.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "app/window_frame.h"
#include "framework/gdi.h"
#include "tests/support/message_only_window.h"

namespace {

using Edges = std::array<LONG, 4>;  // left, top, right, bottom

Edges EdgesOf(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}
// A window's rectangle in its parent's client coordinates (screen ones for a top-level window).
Edges PlacedAt(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetAncestor(window, GA_PARENT), reinterpret_cast<POINT*>(&r), 2);
  return EdgesOf(r);
}
HWND MakeWindow(DWORD style, RECT r, HWND parent = nullptr) {
  return CreateWindowExA(0, "STATIC", "", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                         nullptr, nullptr, nullptr);
}

// A caption-less popup whose WM_SIZE and WM_LBUTTONDOWN go to a WindowFrame;
// it records drag requests instead of starting the system's move.
struct FramedWindow {
  WindowFrame frame;
  std::vector<LPARAM> drags;
  HWND wnd, buttons[3];

  explicit FramedWindow(int width) {
    WNDCLASSA wc{0, Proc, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr, nullptr, nullptr, "FramedTest"};
    RegisterClassA(&wc);
    wnd = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, width, 648, nullptr, nullptr,
                          nullptr, this);
    for (HWND& b : buttons) b = MakeWindow(WS_CHILD | WS_VISIBLE, RECT{0, 0, 34, 34}, wnd);
    frame.SetTitleButtons(buttons[0], buttons[1], buttons[2]);
  }
  ~FramedWindow() { DestroyWindow(wnd); }

  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = MessageOnlyWindowOwner<FramedWindow>(h, msg, lp);
    if (msg == WM_NCCREATE) self->frame.Attach(h);  // before the first WM_SIZE
    if (self && msg == WM_SIZE) return self->frame.OnSize(), 0;
    if (self && msg == WM_LBUTTONDOWN && self->frame.OnLButtonDown(lp)) return 0;
    if (self && msg == WM_NCLBUTTONDOWN && wp == HTCAPTION) return self->drags.push_back(lp), 0;
    return DefWindowProcA(h, msg, wp, lp);
  }

  // The window region's box; a round-rectangle region leaves out its last column and row.
  Edges RegionBox() const {
    RegionHandle region(CreateRectRgn(0, 0, 0, 0));
    RECT box{};
    if (GetWindowRgn(wnd, region.get()) != ERROR) GetRgnBox(region.get(), &box);
    return EdgesOf(box);
  }
  void ExpectButtonsAt(int closeLeft) const {
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(PlacedAt(buttons[i]), (Edges{closeLeft - 40 * i, 8, closeLeft - 40 * i + 34, 42}));
  }
};

TEST(WindowFrame, RegionButtonsAndCaptionFollowTheSize) {
  FramedWindow w(730);
  for (int width : {1080, 730}) {
    SetWindowPos(w.wnd, nullptr, 0, 0, width, 648, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(w.RegionBox(), (Edges{0, 0, width - 1, 647}));
    w.ExpectButtonsAt(width - 45);
    EXPECT_EQ(EdgesOf(w.frame.CaptionRect()), (Edges{0, 0, width, 68}));
  }
  RegionHandle region(CreateRectRgn(0, 0, 0, 0));
  GetWindowRgn(w.wnd, region.get());
  EXPECT_FALSE(PtInRegion(region.get(), 0, 0));  // rounded corner
  EXPECT_TRUE(PtInRegion(region.get(), 2, 2));

  // Minimised: the client collapses, the shape and buttons stay as they were.
  w.frame.Minimize();
  EXPECT_TRUE(IsIconic(w.wnd));
  EXPECT_EQ(w.RegionBox(), (Edges{0, 0, 729, 647}));
  EXPECT_EQ(EdgesOf(w.frame.CaptionRect()), (Edges{0, 0, 0, 68}));
  w.ExpectButtonsAt(685);
}

TEST(WindowFrame, PressesInTheCaptionBandStartADrag) {
  FramedWindow w(1080);
  const struct {
    int x, y;
    bool drags;
  } presses[] = {{5, 5, true}, {1070, 67, true}, {500, 68, false}, {10, 300, false}};
  for (const auto& p : presses) {
    w.drags.clear();
    LPARAM point = MAKELPARAM(p.x, p.y);
    SendMessageA(w.wnd, WM_LBUTTONDOWN, MK_LBUTTON, point);
    EXPECT_EQ(w.drags, p.drags ? std::vector<LPARAM>{point} : std::vector<LPARAM>{}) << p.x << "," << p.y;
  }
}

TEST(CenterWindow, CentresOnAVisibleOwnerInsideTheWorkArea) {
  MONITORINFO info{sizeof info};
  GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
  const RECT work = info.rcWork;
  const LONG midX = (work.left + work.right) / 2, midY = (work.top + work.bottom) / 2;
  const struct {
    LONG ownerLeft, ownerTop;  // a 400 x 300 owner
    bool ownerVisible;
    LONG x, y;  // where the 200 x 100 window lands
  } cases[] = {
      {midX - 200, midY - 150, true, midX - 100, midY - 50},                            // on the owner
      {work.right - 100, work.bottom - 50, true, work.right - 200, work.bottom - 100},  // kept inside
      {work.left - 300, work.top - 250, true, work.left, work.top},                     // kept inside
      {work.left, work.top, false, midX - 100, midY - 50},  // hidden owner: the work area
  };
  for (const auto& c : cases) {
    HWND owner = MakeWindow(WS_POPUP | (c.ownerVisible ? WS_VISIBLE : 0),
                            RECT{c.ownerLeft, c.ownerTop, c.ownerLeft + 400, c.ownerTop + 300});
    HWND window = MakeWindow(WS_POPUP, RECT{0, 0, 200, 100}, owner);
    CenterWindow(window);
    EXPECT_EQ(PlacedAt(window), (Edges{c.x, c.y, c.x + 200, c.y + 100}));
    DestroyWindow(window);
    DestroyWindow(owner);
  }
  // A child window: the middle of its parent's client area.
  HWND parent = MakeWindow(WS_POPUP, RECT{0, 0, 400, 300});
  HWND child = MakeWindow(WS_CHILD, RECT{0, 0, 100, 50}, parent);
  CenterWindow(child);
  EXPECT_EQ(PlacedAt(child), (Edges{150, 125, 250, 175}));
  DestroyWindow(parent);
}

}  // namespace
