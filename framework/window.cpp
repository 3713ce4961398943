#include "framework/window.h"

#include <cstdio>

#include "framework/message_loop.h"

namespace {
// The object whose window is being created on this thread.
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
  if (swpFlags)
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | swpFlags);
  return TRUE;
}

CWindowImplBase::~CWindowImplBase() {
  window_binding::DestroyFromOwner(this, kSelfSlot);
}

void CWindowImplBase::DestroyDetached() {
  window_binding::DestroyFromOwner(this, kSelfSlot);
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
  dispatch_ = DispatchState();
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
  CWindowImplBase* self = window_binding::Lookup(hWnd, kSelfSlot, t_creating);
  if (!self) return ::DefWindowProcA(hWnd, msg, wParam, lParam);

  DispatchScope scope(self->dispatch_, hWnd, msg, wParam, lParam);
  LRESULT result = 0;
  if (!self->ProcessWindowMessage(hWnd, msg, wParam, lParam, result, 0)) {
    result = ::DefWindowProcA(hWnd, msg, wParam, lParam);
  }
  if (scope.End()) {
    window_binding::Detach(self, hWnd, kSelfSlot);
    self->OnFinalMessage(hWnd);
  }
  return result;
}
