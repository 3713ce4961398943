// Window objects: CWindow wraps a handle; CWindowImpl<T> creates a window of
// a class generated for T whose one static window procedure routes every
// message to T's message map.
#pragma once
#include <windows.h>

#include "framework/message_map.h"
#include "framework/window_binding.h"

// A thin, non-owning wrapper of a window handle.
class CWindow {
 public:
  HWND m_hWnd = nullptr;

  CWindow() = default;
  explicit CWindow(HWND wnd) : m_hWnd(wnd) {}
  operator HWND() const { return m_hWnd; }

  BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
  BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  BOOL DestroyWindow();
  BOOL GetClientRect(RECT* rc) const { return ::GetClientRect(m_hWnd, rc); }
  BOOL GetWindowRect(RECT* rc) const { return ::GetWindowRect(m_hWnd, rc); }
  BOOL MoveWindow(int x, int y, int w, int h, BOOL repaint = TRUE) {
    return ::MoveWindow(m_hWnd, x, y, w, h, repaint);
  }
  BOOL MoveWindow(const RECT& rc, BOOL repaint = TRUE) {
    return ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, repaint);
  }
  BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
  }
  BOOL Invalidate(BOOL erase = TRUE) { return ::InvalidateRect(m_hWnd, nullptr, erase); }
  BOOL InvalidateRect(const RECT* rc, BOOL erase = TRUE) { return ::InvalidateRect(m_hWnd, rc, erase); }
  BOOL UpdateWindow() { return ::UpdateWindow(m_hWnd); }
  DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
  DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)); }
  // Removes then adds style bits; extra SWP_ flags apply a SetWindowPos.
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
  BOOL SetWindowTextA(const char* text) { return ::SetWindowTextA(m_hWnd, text); }
  HWND GetParent() const { return ::GetParent(m_hWnd); }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  HWND SetFocus() { return ::SetFocus(m_hWnd); }
  LRESULT SendMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) { return ::SendMessageA(m_hWnd, msg, w, l); }
  BOOL PostMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) { return ::PostMessageA(m_hWnd, msg, w, l); }
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
  BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
  HWND SetCapture() { return ::SetCapture(m_hWnd); }
};

// What every framework window shares: the binding of an HWND to its object
// and the one window procedure.
class CWindowImplBase : public CWindow, public CMessageMap {
 public:
  CWindowImplBase() = default;
  CWindowImplBase(const CWindowImplBase&) = delete;
  CWindowImplBase& operator=(const CWindowImplBase&) = delete;
  ~CWindowImplBase() override;

  virtual WNDPROC GetWindowProc() { return WindowProc; }
  // Called after the last message (WM_NCDESTROY) once the object is detached;
  // an object that owns itself may delete itself here.
  virtual void OnFinalMessage(HWND /*hWnd*/) {}

  // The default processing for a message the map did not handle.
  LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(m_hWnd, msg, wParam, lParam);
  }
  // The message being processed (valid inside a handler).
  const MSG* GetCurrentMessage() const { return dispatch_.current; }

  static LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

 protected:
  // Detaches the object, then destroys its window (and so its child
  // windows): for an owner that must end the window before its members go.
  void DestroyDetached();
  // Registers (once) a window class named `className` (generated when null).
  static ATOM RegisterWindowClass(const char* className, UINT style, WNDPROC proc);
  HWND CreateImpl(ATOM cls, HWND parent, const RECT& rc, const char* name, DWORD style, DWORD exStyle,
                  UINT id, void* createParam);

 private:
  DispatchState dispatch_;
};

// The default window class: CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, arrow cursor,
// window-colour background. A class T may declare
//   static const char* WndClassName();   // a fixed class name
//   static UINT WndClassStyle();         // other class styles
template <class T>
class CWindowImpl : public CWindowImplBase {
 public:
  static const char* WndClassName() { return nullptr; }
  static UINT WndClassStyle() { return CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS; }

  HWND Create(HWND parent, const RECT& rc, const char* name = nullptr, DWORD style = WS_CHILD | WS_VISIBLE,
              DWORD exStyle = 0, UINT id = 0, void* createParam = nullptr) {
    static const ATOM atom = RegisterWindowClass(T::WndClassName(), T::WndClassStyle(), WindowProc);
    return CreateImpl(atom, parent, rc, name, style, exStyle, id, createParam);
  }
};
