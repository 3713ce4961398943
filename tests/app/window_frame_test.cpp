// Window behaviour on real top-level windows: the region and title buttons
// following the size, dragging from the caption band, minimising, centring.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "app/window_frame.h"
#include "framework/gdi.h"

namespace {

// Left, top, right, bottom: comparable and printable.
using Edges = std::array<LONG, 4>;
Edges EdgesOf(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

// A caption-less popup whose WM_SIZE and WM_LBUTTONDOWN go to a WindowFrame
// and which records the drag requests instead of starting a system move.
struct FramedWindow {
  WindowFrame frame;
  HWND wnd = nullptr;
  std::vector<LPARAM> drags;

  FramedWindow(int width, int height) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "FramedTestWindow";
    RegisterClassA(&wc);
    wnd = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                          nullptr, wc.hInstance, this);
    HWND buttons[3];
    for (HWND& b : buttons)
      b = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 34, 34, wnd, nullptr, nullptr,
                          nullptr);
    frame.SetTitleButtons(buttons[0], buttons[1], buttons[2]);
  }
  ~FramedWindow() { DestroyWindow(wnd); }

  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      auto* created = static_cast<FramedWindow*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
      SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
      created->wnd = h;
      created->frame.Attach(h);  // before the first WM_SIZE
    }
    auto* self = reinterpret_cast<FramedWindow*>(GetWindowLongPtrA(h, GWLP_USERDATA));
    if (self) {
      if (msg == WM_SIZE) return self->frame.OnSize(), 0;
      if (msg == WM_LBUTTONDOWN && self->frame.OnLButtonDown(lp)) return 0;
      if (msg == WM_NCLBUTTONDOWN && wp == HTCAPTION) return self->drags.push_back(lp), 0;
    }
    return DefWindowProcA(h, msg, wp, lp);
  }

  Edges RegionBox() const {
    RegionHandle region(CreateRectRgn(0, 0, 0, 0));
    RECT box{};
    if (GetWindowRgn(wnd, region.get()) != ERROR) GetRgnBox(region.get(), &box);
    return EdgesOf(box);
  }
  // The left edges of the close, minimise and settings buttons in client coordinates.
  std::vector<LONG> ButtonLefts() const {
    std::vector<LONG> lefts;
    for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      RECT rc;
      GetWindowRect(child, &rc);
      MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&rc), 2);
      EXPECT_EQ(rc.top, 8);
      lefts.push_back(rc.left);
    }
    return lefts;
  }
};

TEST(WindowFrame, RegionButtonsAndCaptionFollowTheSize) {
  FramedWindow w(730, 648);
  const struct {
    int width;
    std::vector<LONG> buttonLefts;
  } sizes[] = {{1080, {1035, 995, 955}}, {730, {685, 645, 605}}};
  for (const auto& s : sizes) {
    SetWindowPos(w.wnd, nullptr, 0, 0, s.width, 648, SWP_NOMOVE | SWP_NOZORDER);
    // A round-rectangle region leaves out its last column and row.
    EXPECT_EQ(w.RegionBox(), (Edges{0, 0, s.width - 1, 647}));
    EXPECT_EQ(w.ButtonLefts(), s.buttonLefts);
    EXPECT_EQ(EdgesOf(w.frame.CaptionRect()), (Edges{0, 0, s.width, 68}));
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
  EXPECT_EQ(w.ButtonLefts(), (std::vector<LONG>{685, 645, 605}));
}

TEST(WindowFrame, PressesInTheCaptionBandStartADrag) {
  FramedWindow w(1080, 648);
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
  const int midX = (work.left + work.right) / 2, midY = (work.top + work.bottom) / 2;
  const struct {
    const char* what;
    RECT owner;
    bool ownerVisible;
    POINT expected;  // top-left of the 200 x 100 window
  } cases[] = {
      {"owner in the middle",
       {midX - 200, midY - 150, midX + 200, midY + 150},
       true,
       {midX - 100, midY - 50}},
      {"owner over the right and bottom edges",
       {work.right - 100, work.bottom - 50, work.right + 300, work.bottom + 250},
       true,
       {work.right - 200, work.bottom - 100}},
      {"owner over the left and top edges",
       {work.left - 300, work.top - 250, work.left + 100, work.top + 50},
       true,
       {work.left, work.top}},
      {"hidden owner: the work area",
       {work.left, work.top, work.left + 400, work.top + 300},
       false,
       {midX - 100, midY - 50}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP | (c.ownerVisible ? WS_VISIBLE : 0), c.owner.left,
                                 c.owner.top, c.owner.right - c.owner.left, c.owner.bottom - c.owner.top,
                                 nullptr, nullptr, nullptr, nullptr);
    HWND window =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, owner, nullptr, nullptr, nullptr);
    CenterWindow(window);
    RECT rc;
    GetWindowRect(window, &rc);
    EXPECT_EQ(rc.left, c.expected.x);
    EXPECT_EQ(rc.top, c.expected.y);
    DestroyWindow(window);
    DestroyWindow(owner);
  }
  // A child window: the middle of its parent's client area.
  HWND parent =
      CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
  HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 100, 50, parent, nullptr, nullptr, nullptr);
  CenterWindow(child);
  RECT rc;
  GetWindowRect(child, &rc);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
  EXPECT_EQ(rc.left, 150);
  EXPECT_EQ(rc.top, 125);
  DestroyWindow(parent);
}

}  // namespace
