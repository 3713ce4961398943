#include "app/help_dlg.h"

#include "app/input_box.h"
#include "app/window_frame.h"
#include "config/core/app_globals.h"

namespace {
constexpr const char* kSearchSuffix = " 打开USB调试模式";
}  // namespace

LRESULT HelpDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  CenterWindow(m_hWnd);  // over the main window
  if (GetAppString(AppString::AdbDriveUrl).empty()) ::ShowWindow(GetDlgItem(kDriverLinkId), SW_HIDE);
  if (GetAppString(AppString::OpenDebugModeUrl).empty()) ::ShowWindow(GetDlgItem(kGuideLinkId), SW_HIDE);
  whiteBrush_.reset(::CreateSolidBrush(RGB(255, 255, 255)));
  return TRUE;
}

// The statics lie on white; the two links read as links.
LRESULT HelpDlg::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  ::SetBkMode(dc, TRANSPARENT);
  if (IsLink(reinterpret_cast<HWND>(lParam))) ::SetTextColor(dc, kLinkColor);
  return reinterpret_cast<LRESULT>(whiteBrush_.get());
}

LRESULT HelpDlg::OnSetCursor(UINT, WPARAM wParam, LPARAM, BOOL&) {
  ::SetCursor(::LoadCursor(nullptr, IsLink(reinterpret_cast<HWND>(wParam)) ? IDC_HAND : IDC_ARROW));
  return TRUE;
}

// White text area above a grey band that holds the two buttons.
LRESULT HelpDlg::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  DoubleBufferedPaint paint(m_hWnd);
  RECT band = paint.client();
  RECT text = band;
  band.top = text.bottom = band.bottom - kButtonBandHeight;
  FillSolid(paint.dc(), text, RGB(255, 255, 255));
  FillSolid(paint.dc(), band, kButtonBandColor);
  return 0;
}

LRESULT HelpDlg::OnDriverLink(WORD, WORD, HWND, BOOL&) {
  open_(GetAppString(AppString::AdbDriveUrl));
  return 0;
}

// A search address is completed with the phone's model, asked for first;
// any other address is the guide itself.
LRESULT HelpDlg::OnGuideLink(WORD, WORD, HWND, BOOL&) {
  const std::string guide = GetAppString(AppString::OpenDebugModeUrl);
  if (guide.find(kSearchEngineDomain) == std::string::npos) {
    open_(guide);
    return 0;
  }
  InputBox input;
  if (input.DoModal(m_hWnd) == IDOK) open_(guide + input.text() + kSearchSuffix);
  return 0;
}

LRESULT HelpDlg::OnTutorial(WORD, WORD, HWND, BOOL&) {
  open_(kTutorialPageUrl);
  EndDialog(IDCANCEL);
  return 0;
}
