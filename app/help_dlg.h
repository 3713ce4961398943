// What to do when no phone is detected: the steps for Android and iOS, a link
// to the adb driver, a link to the USB-debugging guide and the tutorial
// button. A link whose configured address is empty is not shown. Opened
// modally by the main window (its help link, and by itself after three empty
// manual refreshes).
#pragma once
#include <windows.h>

#include <string>

#include "app/url_opener.h"
#include "framework/dialog.h"
#include "framework/gdi.h"
#include "resources/resource.h"

class HelpDlg : public CDialogImpl<HelpDlg> {
 public:
  enum { IDD = IDD_HELP };
  static constexpr int kDriverLinkId = 1006;
  static constexpr int kGuideLinkId = 1007;
  static constexpr int kTutorialId = 1008;
  // A guide address containing this is a search prefix: the phone's model is asked for.
  static constexpr const char* kSearchEngineDomain = "www.baidu.com";
  static constexpr COLORREF kLinkColor = 0xDD0000;
  static constexpr COLORREF kButtonBandColor = 0xF0F0F0;
  static constexpr int kButtonBandHeight = 60;

  explicit HelpDlg(UrlOpener open = ShellUrlOpener()) : open_(std::move(open)) {}

  BEGIN_MSG_MAP(HelpDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    COMMAND_ID_HANDLER(IDOK, OnEnd)
    COMMAND_ID_HANDLER(IDCANCEL, OnEnd)
    COMMAND_ID_HANDLER(kDriverLinkId, OnDriverLink)
    COMMAND_ID_HANDLER(kGuideLinkId, OnGuideLink)
    COMMAND_ID_HANDLER(kTutorialId, OnTutorial)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCtlColorStatic(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEnd(WORD, WORD id, HWND, BOOL&) {
    EndDialog(id);
    return 0;
  }
  LRESULT OnDriverLink(WORD, WORD, HWND, BOOL&);
  LRESULT OnGuideLink(WORD, WORD, HWND, BOOL&);
  LRESULT OnTutorial(WORD, WORD, HWND, BOOL&);
  bool IsLink(HWND control) const {
    return control && (control == GetDlgItem(kDriverLinkId) || control == GetDlgItem(kGuideLinkId));
  }

  UrlOpener open_;
  BrushHandle whiteBrush_;
};
