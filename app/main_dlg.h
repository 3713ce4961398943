// The main window: a caption-less, round-cornered dialog that hosts every
// control of the program.
#pragma once
#include <windows.h>

#include "app/tray_icon.h"
#include "app/window_frame.h"
#include "framework/dialog.h"
#include "framework/gdi.h"
#include "framework/handles.h"
#include "framework/message_loop.h"
#include "framework/update_ui.h"
#include "resources/resource.h"

class CMainDlg : public CDialogImpl<CMainDlg>,
                 public CUpdateUI<CMainDlg>,
                 public CMessageFilter,
                 public CIdleHandler {
 public:
  enum { IDD = IDD_MAIN };
  static constexpr int kWidth = 730;
  static constexpr int kHeight = 648;
  static constexpr COLORREF kFrameColor = RGB(0xAD, 0xAD, 0xAD);

  CMainDlg();
  ~CMainDlg() override;

  BOOL PreTranslateMessage(MSG* msg) override;
  BOOL OnIdle() override { return FALSE; }

  // Paints the whole client area (white, logo band, frame) into `dc`;
  // WM_PAINT calls it on its memory bitmap, tests on their own.
  void PaintClient(HDC dc, const RECT& client);

  // A balloon from the notification-area icon, which is added on first use.
  bool ShowTrayBalloon(const char* text, const char* title, DWORD infoFlags, UINT timeoutMs) {
    return tray_.ShowBalloon(text, title, infoFlags, timeoutMs);
  }

  BEGIN_MSG_MAP(CMainDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    COMMAND_ID_HANDLER(IDCANCEL, OnClose)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&) {
    frame_.OnSize();
    return 0;
  }
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    handled = frame_.OnLButtonDown(lParam);
    return 0;
  }
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnClose(WORD, WORD, HWND, BOOL&);

  void LoadIcons();

  // PNG 224 with its transparency kept, blended at (1, 1).
  BitmapHandle headerBitmap_;
  UniqueIcon bigIcon_;
  UniqueIcon smallIcon_;
  UniqueIcon trayIcon_;
  WindowFrame frame_;
  TrayIcon tray_;
};

// The one main dialog of the process (null before construction and after destruction).
extern CMainDlg* MainDialog;
