// Dialogs from resource templates: CDialogImpl<T> with T::IDD the template id.
// Create() makes a modeless dialog (register it as a message filter so that
// IsDialogMessage sees its keys); DoModal() runs a modal one.
#pragma once
#include <windows.h>

#include "framework/window.h"

class CDialogImplBase : public CWindow, public CMessageMap {
 public:
  CDialogImplBase() = default;
  CDialogImplBase(const CDialogImplBase&) = delete;
  CDialogImplBase& operator=(const CDialogImplBase&) = delete;
  ~CDialogImplBase() override;

  virtual void OnFinalMessage(HWND /*hWnd*/) {}

  // Ends a modal dialog with `result`; a modeless dialog is destroyed.
  BOOL EndDialog(int result);
  bool IsModal() const { return modal_; }
  const MSG* GetCurrentMessage() const { return dispatch_.current; }

  static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

 protected:
  HWND CreateImpl(int templateId, HWND parent, LPARAM initParam);
  INT_PTR DoModalImpl(int templateId, HWND parent, LPARAM initParam);

 private:
  DispatchState dispatch_;
  bool modal_ = false;
};

template <class T>
class CDialogImpl : public CDialogImplBase {
 public:
  HWND Create(HWND parent, LPARAM initParam = 0) { return CreateImpl(T::IDD, parent, initParam); }
  INT_PTR DoModal(HWND parent = ::GetActiveWindow(), LPARAM initParam = 0) {
    return DoModalImpl(T::IDD, parent, initParam);
  }
};
