#include "window.h"

#include <cstdio>

#include "message_loop.h"

namespace {
// The object whose window is being created on this thread: the first message
// of the new window binds it (WM_GETMINMAXINFO and WM_NCCREATE arrive before
// CreateWindowEx returns).
thread_local CWindowImplBase* t_creating = nullptr;

constexpr int kSelfSlot = 0;  // cbWndExtra slot that holds the object pointer
}  // namespace

BOOL CWindow::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  return ::DestroyWindow(m_hWnd);
}

BOOL CWindow::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
  DWORD style = GetStyle();
  DWORD changed = (style & ~remove) | add;
  if (changed == style) return FALSE;
  ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, changed);
  if (swpFlags) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | swpFlags);
  return TRUE;
}

CWindowImplBase::~CWindowImplBase() {
  // A window still alive when its object dies would route messages to freed
  // memory: detach it first, then destroy it.
  if (m_hWnd && ::IsWindow(m_hWnd)) {
    ::SetWindowLongPtrA(m_hWnd, kSelfSlot, 0);
    HWND wnd = m_hWnd;
    m_hWnd = nullptr;
    ::DestroyWindow(wnd);
  }
}

ATOM CWindowImplBase::RegisterWindowClass(const char* className, UINT style, WNDPROC proc) {
  static LONG counter = 0;
  char generated[32];
  if (!className) {
    std::snprintf(generated, sizeof generated, "VelaWnd:%ld", InterlockedIncrement(&counter));
    className = generated;
  }
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = AppModule().GetModuleInstance();
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = className;
  ATOM atom = RegisterClassExA(&wc);
  if (!atom) {
    WNDCLASSEXA existing{sizeof existing};
    atom = static_cast<ATOM>(GetClassInfoExA(wc.hInstance, className, &existing));
  }
  return atom;
}

HWND CWindowImplBase::CreateImpl(ATOM cls, HWND parent, const RECT& rc, const char* name, DWORD style,
                                 DWORD exStyle, UINT id, void* createParam) {
  if (m_hWnd || !cls) return nullptr;
  destroyed_ = false;
  CWindowImplBase* previous = t_creating;
  t_creating = this;
  HWND wnd = ::CreateWindowExA(exStyle, MAKEINTATOM(cls), name ? name : "", style, rc.left, rc.top,
                               rc.right - rc.left, rc.bottom - rc.top, parent,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                               AppModule().GetModuleInstance(), createParam);
  t_creating = previous;
  return wnd;
}

LRESULT CALLBACK CWindowImplBase::WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<CWindowImplBase*>(::GetWindowLongPtrA(hWnd, kSelfSlot));
  if (!self) {
    self = t_creating;
    if (!self) return ::DefWindowProcA(hWnd, msg, wParam, lParam);
    t_creating = nullptr;
    self->m_hWnd = hWnd;
    ::SetWindowLongPtrA(hWnd, kSelfSlot, reinterpret_cast<LONG_PTR>(self));
  }

  MSG current{hWnd, msg, wParam, lParam, 0, {0, 0}};
  const MSG* outer = self->currentMsg_;
  self->currentMsg_ = &current;
  ++self->depth_;
  LRESULT result = 0;
  if (!self->ProcessWindowMessage(hWnd, msg, wParam, lParam, result, 0)) {
    result = ::DefWindowProcA(hWnd, msg, wParam, lParam);
  }
  if (msg == WM_NCDESTROY) self->destroyed_ = true;
  --self->depth_;
  self->currentMsg_ = outer;

  // Detach only when the outermost handler has returned: a handler may
  // destroy its own window and still touch members afterwards.
  if (self->destroyed_ && self->depth_ == 0) {
    self->destroyed_ = false;
    ::SetWindowLongPtrA(hWnd, kSelfSlot, 0);
    self->m_hWnd = nullptr;
    self->OnFinalMessage(hWnd);
  }
  return result;
}
