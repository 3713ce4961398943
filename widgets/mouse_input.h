// Mouse message helpers shared by the custom-drawn controls.
#pragma once
#include <windows.h>

// The client point of a mouse message's lParam. Signed: with the mouse
// captured the pointer can be left of or above the window.
inline POINT PointFromLParam(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// Asks for one WM_MOUSELEAVE when the pointer next leaves `wnd`.
inline void RequestMouseLeave(HWND wnd) {
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, wnd, 0};
  TrackMouseEvent(&track);
}
