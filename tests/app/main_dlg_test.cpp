// The main dialog's painting, checked on a memory DC: white inside and a grey
// one-pixel frame along the rounded outline.
#include <gtest/gtest.h>

#include "app/main_dlg.h"
#include "framework/gdi.h"
#include "framework/message_loop.h"

namespace {

TEST(MainDialogPaint, WhiteClientWithGreyRoundedFrame) {
  CMainDlg dlg;
  MemoryDC mem(nullptr, CMainDlg::kWidth, CMainDlg::kHeight);
  FillSolid(mem.get(), RECT{0, 0, CMainDlg::kWidth, CMainDlg::kHeight}, RGB(0, 0, 0));
  dlg.PaintClient(mem.get(), RECT{0, 0, CMainDlg::kWidth, CMainDlg::kHeight});
  const COLORREF grey = CMainDlg::kFrameColor;
  EXPECT_EQ(GetPixel(mem.get(), 365, 0), grey);                      // top edge
  EXPECT_EQ(GetPixel(mem.get(), 0, 324), grey);                      // left edge
  EXPECT_EQ(GetPixel(mem.get(), CMainDlg::kWidth - 1, 324), grey);   // right edge
  EXPECT_EQ(GetPixel(mem.get(), 365, CMainDlg::kHeight - 1), grey);  // bottom edge
  EXPECT_EQ(GetPixel(mem.get(), 365, 324), RGB(255, 255, 255));      // inside
  EXPECT_NE(GetPixel(mem.get(), 0, 0), grey);                        // the corner is cut
}

TEST(MainDialogWindow, InitialisesFromTheTemplate) {
  CMessageLoop loop;
  AppModule().AddMessageLoop(&loop);
  {
    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    RECT rc;
    dlg.GetWindowRect(&rc);
    EXPECT_EQ(rc.right - rc.left, CMainDlg::kWidth);
    EXPECT_EQ(rc.bottom - rc.top, CMainDlg::kHeight);
    EXPECT_EQ(dlg.GetStyle() & WS_CAPTION, 0u);
    EXPECT_NE(dlg.GetStyle() & WS_CLIPCHILDREN, 0u);
    // The logo band is blended at (1, 1) over white; its transparent
    // pixels leave the white showing.
    MemoryDC mem(nullptr, CMainDlg::kWidth, CMainDlg::kHeight);
    dlg.PaintClient(mem.get(), RECT{0, 0, CMainDlg::kWidth, CMainDlg::kHeight});
    int coloured = 0, white = 0;
    for (int y = 1; y < 69; ++y)
      for (int x = 1; x < 209; ++x) (GetPixel(mem.get(), x, y) == RGB(255, 255, 255) ? white : coloured)++;
    EXPECT_GT(coloured, 200);
    EXPECT_GT(white, 200);
    EXPECT_EQ(GetPixel(mem.get(), 300, 40), RGB(255, 255, 255));  // right of the band
    EXPECT_TRUE(dlg.SendMessage(WM_GETICON, ICON_BIG, 0));
    EXPECT_TRUE(dlg.SendMessage(WM_GETICON, ICON_SMALL, 0));
    // Centred on the work area of its monitor.
    MONITORINFO info{sizeof info};
    GetMonitorInfoA(MonitorFromWindow(dlg, MONITOR_DEFAULTTONEAREST), &info);
    EXPECT_NEAR(rc.left - info.rcWork.left, info.rcWork.right - rc.right, 1);
    EXPECT_NEAR(rc.top - info.rcWork.top, info.rcWork.bottom - rc.bottom, 1);
    // Registered with the thread's loop while it lives: Escape reaches it.
    MSG esc{dlg.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001};
    EXPECT_TRUE(loop.PreTranslateMessage(&esc));
    dlg.DestroyWindow();
    EXPECT_FALSE(loop.PreTranslateMessage(&esc));
  }
  AppModule().RemoveMessageLoop();
}

}  // namespace
