#include "widgets/loading_wnd.h"

#include "config/ui_font.h"
#include "framework/gdi.h"
#include "framework/text.h"
#include "resources/picture_ids.h"
#include "widgets/text_scope.h"

LRESULT LoadingWnd::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  RECT client{};
  GetClientRect(&client);
  const int left = client.right - 9 - 34;
  RECT rc{left, 6, left + 34, 6 + 34};
  closeButton_.Create(m_hWnd, rc, nullptr, WS_CHILD | WS_VISIBLE, 0, kCloseId);
  closeButton_.SetImages(IDB_CLOSE_NORMAL, IDB_CLOSE_HOT, IDB_CLOSE_PRESSED, IDB_CLOSE_NORMAL);
  return 0;
}

void LoadingWnd::PaintTo(HDC dc) {
  RECT client{};
  GetClientRect(&client);
  FillSolid(dc, client, RGB(255, 255, 255));
  // The overlay speaks in the dialog's own font.
  HFONT font = reinterpret_cast<HFONT>(::SendMessageA(GetParent(), WM_GETFONT, 0, 0));
  SelectScope selected(dc, font ? font : GetUiFont(13));
  TransparentTextScope text(dc, RGB(0, 0, 0));
  DrawTextUtf8(dc, "初始化设备管理器...", &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

LRESULT LoadingWnd::OnTimer(UINT, WPARAM, LPARAM, BOOL&) {
  Invalidate(FALSE);
  return 0;
}

LRESULT LoadingWnd::OnClose(WORD, WORD, HWND, BOOL&) {
  // The parent treats it as a click on its own close button.
  const MSG* msg = GetCurrentMessage();
  ::PostMessageA(GetParent(), WM_COMMAND, msg->wParam, msg->lParam);
  return 0;
}
