// Shared fixtures of the widget tests: GDI+ for the whole run, a parent
// window that records the commands it is sent, and 32-bit canvases whose
// pixels the tests read.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "gdi.h"
#include "window.h"

// A top-level window that counts the WM_COMMAND messages delivered to it.
class TestParent : public CWindowImpl<TestParent> {
 public:
  BEGIN_MSG_MAP(TestParent)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
  END_MSG_MAP()

  // A visible popup at (x, y) of the given size.
  explicit TestParent(int width = 400, int height = 300, int x = 100, int y = 100);
  ~TestParent() override;

  // Commands that reached the window procedure (sent, or posted and dispatched).
  std::vector<WPARAM> delivered;
  std::vector<LPARAM> deliveredLParams;

 private:
  LRESULT OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    delivered.push_back(wParam);
    deliveredLParams.push_back(lParam);
    return 0;
  }
};

// Removes the WM_COMMAND messages waiting in this thread's queue for `wnd`
// (without dispatching anything else) and returns their wParams.
std::vector<WPARAM> TakePostedCommands(HWND wnd);

// Dispatches every message waiting in the thread's queue.
void PumpMessages();

// A white 32-bit top-down DIB selected into a memory DC.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255));
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  COLORREF Pixel(int x, int y) const;
  void Fill(COLORREF color);
  bool SameAs(const Canvas& other) const;
  // Pixels that differ from `color`.
  int CountNot(COLORREF color) const;

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  const uint32_t* bits_ = nullptr;
};

// A scratch memory DC for the Draw functions.
class ScratchDC {
 public:
  ScratchDC() : dc_(CreateCompatibleDC(nullptr)) {}
  ~ScratchDC() { DeleteDC(dc_); }
  ScratchDC(const ScratchDC&) = delete;
  ScratchDC& operator=(const ScratchDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// Blends PNG resource `id` at (x, y) with opacity the way the tests expect
// the widgets to: the reference for pixel comparisons.
void BlendPngReference(HDC target, int id, int x, int y, BYTE opacity);
