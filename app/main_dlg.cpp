#include "app/main_dlg.h"

#include "resources/picture_ids.h"
#include "widgets/button_support.h"
#include "widgets/image_helpers.h"

CMainDlg* MainDialog = nullptr;

namespace {
// The main loop's exit code after a normal close.
constexpr int kCloseExitCode = 2;
constexpr int kCornerSize = 4;
}  // namespace

CMainDlg::CMainDlg() {
  MainDialog = this;
}

CMainDlg::~CMainDlg() {
  if (MainDialog == this) MainDialog = nullptr;
}

BOOL CMainDlg::PreTranslateMessage(MSG* msg) {
  return ::IsDialogMessageA(m_hWnd, msg);
}

LRESULT CMainDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  // The template has a caption (for the title and the taskbar); the window shows none.
  ModifyStyle(WS_CAPTION, 0);
  SetWindowPos(nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  frame_.Attach(m_hWnd);
  frame_.OnSize();
  SetRoundedRegion(m_hWnd, kWidth, kHeight);
  CenterWindow(m_hWnd);
  ModifyStyle(0, WS_CLIPCHILDREN);
  LoadIcons();
  headerBitmap_ = LoadPngAsHBitmap(IDB_LOGO_BAND, 0);

  if (CMessageLoop* loop = AppModule().GetMessageLoop()) {
    loop->AddMessageFilter(this);
    loop->AddIdleHandler(this);
  }
  UIAddChildWindowContainer(m_hWnd);
  return TRUE;
}

void CMainDlg::LoadIcons() {
  HINSTANCE inst = AppModule().GetResourceInstance();
  auto load = [inst](int cx, int cy) {
    return static_cast<HICON>(::LoadImageA(inst, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, cx, cy, 0));
  };
  bigIcon_.reset(load(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)));
  smallIcon_.reset(load(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)));
  trayIcon_.reset(load(16, 16));
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  tray_.SetWindow(m_hWnd, trayIcon_.get());
}

void CMainDlg::PaintClient(HDC dc, const RECT& client) {
  FillSolid(dc, client, RGB(255, 255, 255));
  if (headerBitmap_) {
    MemoryDC scratch(dc, 1, 1);
    BlendBitmapAt(dc, scratch.get(), headerBitmap_.get(), 1, 1, 255);
  }
  // A one-pixel grey frame along the rounded outline of the window region.
  RegionHandle outline(::CreateRoundRectRgn(client.left, client.top, client.right + 1, client.bottom + 1,
                                            kCornerSize, kCornerSize));
  BrushHandle frame(::CreateSolidBrush(kFrameColor));
  ::FrameRgn(dc, outline.get(), frame.get(), 1, 1);
}

LRESULT CMainDlg::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  DoubleBufferedPaint paint(m_hWnd);
  PaintClient(paint.dc(), paint.client());
  return 0;
}

LRESULT CMainDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  tray_.Remove();  // while the window the shell knows the icon by still exists
  if (CMessageLoop* loop = AppModule().GetMessageLoop()) {
    loop->RemoveMessageFilter(this);
    loop->RemoveIdleHandler(this);
  }
  handled = FALSE;
  return 0;
}

// The close button, Escape and Alt+F4 all arrive as command 2.
LRESULT CMainDlg::OnClose(WORD, WORD, HWND, BOOL&) {
  DestroyWindow();
  ::PostQuitMessage(kCloseExitCode);
  return 0;
}
