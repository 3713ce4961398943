// The main dialog's painting, checked on a memory DC: white inside and a grey
// one-pixel frame along the rounded outline.
#include <gtest/gtest.h>

#include "gdi.h"
#include "main_dlg.h"

namespace {

TEST(MainDialogPaint, WhiteClientWithGreyRoundedFrame) {
  CMainDlg dlg;
  MemoryDC mem(nullptr, CMainDlg::kWidth, CMainDlg::kHeight);
  FillSolid(mem.get(), RECT{0, 0, CMainDlg::kWidth, CMainDlg::kHeight}, RGB(0, 0, 0));
  dlg.PaintClient(mem.get(), RECT{0, 0, CMainDlg::kWidth, CMainDlg::kHeight});
  const COLORREF grey = CMainDlg::kFrameColor;
  EXPECT_EQ(GetPixel(mem.get(), 365, 0), grey);                        // top edge
  EXPECT_EQ(GetPixel(mem.get(), 0, 324), grey);                        // left edge
  EXPECT_EQ(GetPixel(mem.get(), CMainDlg::kWidth - 1, 324), grey);     // right edge
  EXPECT_EQ(GetPixel(mem.get(), 365, CMainDlg::kHeight - 1), grey);    // bottom edge
  EXPECT_EQ(GetPixel(mem.get(), 365, 324), RGB(255, 255, 255));        // inside
  EXPECT_NE(GetPixel(mem.get(), 0, 0), grey);                          // the corner is cut
}

TEST(MainDialogGlobal, PointsAtTheLiveDialog) {
  EXPECT_EQ(MainDialog, nullptr);
  {
    CMainDlg dlg;
    EXPECT_EQ(MainDialog, &dlg);
  }
  EXPECT_EQ(MainDialog, nullptr);
}

}  // namespace
