// Shared fixtures of the widget tests: GDI+ for the whole run, a parent
// window that records the commands it is sent, and 32-bit canvases whose
// pixels the tests read.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/gdi.h"
#include "framework/window.h"
#include "tests/support/canvas.h"
#include "tests/support/pump.h"

// A top-level window that counts the WM_COMMAND messages delivered to it.
class TestParent : public CWindowImpl<TestParent> {
 public:
  BEGIN_MSG_MAP(TestParent)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
  END_MSG_MAP()

  // A visible popup at (x, y) of the given size; the object's end takes it along.
  explicit TestParent(int width = 400, int height = 300, int x = 100, int y = 100);

  // Commands that reached the window procedure (sent, or posted and
  // dispatched); a click carries lParam 0, not the button's handle.
  std::vector<WPARAM> delivered;

 private:
  LRESULT OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
};

// Removes the WM_COMMAND messages waiting in this thread's queue for `wnd`
// (without dispatching anything else) and returns their wParams.
std::vector<WPARAM> TakePostedCommands(HWND wnd);

// Blends PNG resource `id` at (x, y) with opacity the way the tests expect
// the widgets to: the reference for pixel comparisons.
void BlendPngReference(HDC target, int id, int x, int y, BYTE opacity);
