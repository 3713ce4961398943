#include "framework/dialog.h"

#include "framework/message_loop.h"

namespace {
thread_local CDialogImplBase* t_creating = nullptr;

// Messages whose dialog-procedure result is the value itself rather than
// TRUE with the value in DWLP_MSGRESULT.
bool ReturnsValueDirectly(UINT msg) {
  switch (msg) {
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return true;
  }
  return false;
}
}  // namespace

CDialogImplBase::~CDialogImplBase() {
  window_binding::DestroyFromOwner(this, DWLP_USER);
}

BOOL CDialogImplBase::EndDialog(int result) {
  if (!m_hWnd) return FALSE;
  return modal_ ? ::EndDialog(m_hWnd, result) : ::DestroyWindow(m_hWnd);
}

HWND CDialogImplBase::CreateImpl(int templateId, HWND parent, LPARAM initParam) {
  if (m_hWnd) return nullptr;
  modal_ = false;
  dispatch_ = DispatchState();
  CDialogImplBase* previous = t_creating;
  t_creating = this;
  HWND wnd = ::CreateDialogParamA(AppModule().GetResourceInstance(), MAKEINTRESOURCEA(templateId), parent,
                                  DialogProc, initParam);
  t_creating = previous;
  return wnd;
}

INT_PTR CDialogImplBase::DoModalImpl(int templateId, HWND parent, LPARAM initParam) {
  if (m_hWnd) return -1;
  modal_ = true;
  dispatch_ = DispatchState();
  CDialogImplBase* previous = t_creating;
  t_creating = this;
  INT_PTR result = ::DialogBoxParamA(AppModule().GetResourceInstance(), MAKEINTRESOURCEA(templateId), parent,
                                     DialogProc, initParam);
  t_creating = previous;
  return result;
}

INT_PTR CALLBACK CDialogImplBase::DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CDialogImplBase* self = window_binding::Lookup(hWnd, DWLP_USER, t_creating);
  if (!self) return FALSE;

  DispatchScope scope(self->dispatch_, hWnd, msg, wParam, lParam);
  LRESULT result = 0;
  BOOL handled = self->ProcessWindowMessage(hWnd, msg, wParam, lParam, result, 0);
  if (scope.End()) {
    window_binding::Detach(self, hWnd, DWLP_USER);
    self->OnFinalMessage(hWnd);
    return handled ? static_cast<INT_PTR>(result) : FALSE;
  }
  if (!handled) return FALSE;
  if (ReturnsValueDirectly(msg)) return static_cast<INT_PTR>(result);
  ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
  return TRUE;
}
