// The main window: a caption-less, round-cornered dialog that hosts every
// control of the program.
#pragma once
#include <windows.h>

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

  BEGIN_MSG_MAP(CMainDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    COMMAND_ID_HANDLER(IDCANCEL, OnClose)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnClose(WORD, WORD, HWND, BOOL&);

  void CenterOnWorkArea();
  void LoadIcons();

  // PNG 224 with its transparency kept, blended at (1, 1).
  BitmapHandle headerBitmap_;
  UniqueIcon bigIcon_;
  UniqueIcon smallIcon_;
  UniqueIcon trayIcon_;
};

// The one main dialog of the process (null before construction and after destruction).
extern CMainDlg* MainDialog;
