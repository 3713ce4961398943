// Asks for the phone's brand or model, so that the USB-debugging guide can be
// searched for that phone. Modal: 1 (IDOK) with text() filled, or 2 (IDCANCEL).
#pragma once
#include <windows.h>

#include <string>

#include "framework/dialog.h"
#include "resources/resource.h"

class InputBox : public CDialogImpl<InputBox> {
 public:
  enum { IDD = IDD_INPUT_BOX };
  static constexpr int kEditId = 1007;

  const std::string& text() const { return text_; }

  BEGIN_MSG_MAP(InputBox)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnOk)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnOk(WORD, WORD, HWND, BOOL&);
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&) {
    EndDialog(IDCANCEL);
    return 0;
  }

  std::string text_;
};
