// How a framework object and its HWND find each other, shared by the window
// and the dialog procedures. The object's pointer lives in a per-window slot
// (cbWndExtra for windows, DWLP_USER for dialogs); the object being created
// on a thread is bound by the first message its window receives, which
// arrives before CreateWindowEx/CreateDialogParam returns.
#pragma once
#include <windows.h>

namespace window_binding {

// The object of `wnd`, binding `pending` (the object being created on this
// thread) on the window's first message. Null for a window of ours that has
// no object (yet or any more).
template <class T>
T* Lookup(HWND wnd, int slot, T*& pending) {
  if (auto* self = reinterpret_cast<T*>(GetWindowLongPtrA(wnd, slot))) return self;
  T* self = pending;
  if (!self) return nullptr;
  pending = nullptr;
  self->m_hWnd = wnd;
  SetWindowLongPtrA(wnd, slot, reinterpret_cast<LONG_PTR>(self));
  return self;
}

// Clears the binding: no later message reaches the object.
template <class T>
void Detach(T* self, HWND wnd, int slot) {
  SetWindowLongPtrA(wnd, slot, 0);
  self->m_hWnd = nullptr;
}

// An object destroyed while its window lives would get messages in freed
// memory: detach first, then destroy the window.
template <class T>
void DestroyFromOwner(T* self, int slot) {
  HWND wnd = self->m_hWnd;
  if (!wnd || !IsWindow(wnd)) return;
  Detach(self, wnd, slot);
  DestroyWindow(wnd);
}

}  // namespace window_binding

// Per-object bookkeeping of the message being processed. A handler may
// destroy its own window and still touch members afterwards, so the object
// is detached only once the outermost handler has returned.
struct DispatchState {
  const MSG* current = nullptr;
  int depth = 0;
  bool destroyed = false;
};

// Brackets one message for an object.
class DispatchScope {
 public:
  DispatchScope(DispatchState& state, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
      : state_(state), msg_{wnd, msg, wParam, lParam, 0, {0, 0}}, outer_(state.current) {
    state_.current = &msg_;
    ++state_.depth;
  }
  DispatchScope(const DispatchScope&) = delete;
  DispatchScope& operator=(const DispatchScope&) = delete;

  // Ends the message; true when the window has been destroyed and this was
  // the outermost message: time to detach and call OnFinalMessage.
  bool End() {
    if (msg_.message == WM_NCDESTROY) state_.destroyed = true;
    --state_.depth;
    state_.current = outer_;
    if (!state_.destroyed || state_.depth != 0) return false;
    state_.destroyed = false;
    return true;
  }

 private:
  DispatchState& state_;
  MSG msg_;
  const MSG* outer_;
};
