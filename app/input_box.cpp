#include "app/input_box.h"

#include "app/window_frame.h"

LRESULT InputBox::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  CenterWindow(m_hWnd);  // over the help dialog
  return TRUE;
}

LRESULT InputBox::OnOk(WORD, WORD, HWND, BOOL&) {
  HWND edit = GetDlgItem(kEditId);
  text_.assign(::GetWindowTextLengthA(edit), '\0');
  if (!text_.empty()) text_.resize(::GetWindowTextA(edit, text_.data(), static_cast<int>(text_.size()) + 1));
  EndDialog(IDOK);
  return 0;
}
