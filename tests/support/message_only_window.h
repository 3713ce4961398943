// Message-only windows for tests: real windows with their own message queue
// on the creating thread, independent of any display. The object that owns
// the window rides along as the creation parameter.
#pragma once
#include <windows.h>

// Registers `className` with `proc` (a later registration of the same class
// fails harmlessly) and creates a message-only window of it on this thread
// with `owner` as the creation parameter.
inline HWND CreateMessageOnlyWindow(const char* className, WNDPROC proc, void* owner,
                                    const char* title = "") {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = className;
  RegisterClassA(&wc);
  return CreateWindowExA(0, className, title, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, owner);
}

// First call in such a window's procedure: keeps the creation parameter in
// GWLP_USERDATA at WM_NCCREATE and returns it (null for earlier messages).
template <class Owner>
Owner* MessageOnlyWindowOwner(HWND hwnd, UINT msg, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
  return reinterpret_cast<Owner*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}
