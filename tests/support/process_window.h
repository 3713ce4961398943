// The visible top-level window of another process (the program under test),
// or null while it has none.
#pragma once
#include <windows.h>

inline HWND VisibleTopWindowOf(DWORD pid) {
  struct FindData {
    DWORD pid;
    HWND found;
  } data{pid, nullptr};
  EnumWindows(
      [](HWND wnd, LPARAM p) -> BOOL {
        auto* d = reinterpret_cast<FindData*>(p);
        DWORD owner = 0;
        GetWindowThreadProcessId(wnd, &owner);
        if (owner == d->pid && IsWindowVisible(wnd) && !GetParent(wnd)) {
          d->found = wnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&data));
  return data.found;
}
