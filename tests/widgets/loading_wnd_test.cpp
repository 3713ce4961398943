// LoadingWnd: it shows its one line of text, and its close button acts as the
// parent's close command.
#include "widgets/loading_wnd.h"

#include <gtest/gtest.h>

#include "resources/picture_ids.h"
#include "tests/widgets/widget_test_support.h"

namespace {

TEST(LoadingWndTest, PaintsCentredTextOnWhiteAndItsCloseButtonActsAsTheParentsCommandTwo) {
  TestParent parent(730, 648, 50, 50);
  LoadingWnd loading;
  ASSERT_TRUE(loading.Create(parent, RECT{2, 2, 727, 645}));  // 725 x 643
  Canvas canvas(725, 643, RGB(10, 10, 10));
  loading.PaintTo(canvas.dc());
  // Ink only in a band around the middle, roughly symmetric left and right.
  RECT ink = canvas.InkBounds(RGB(255, 255, 255));
  EXPECT_NEAR(362, (ink.left + ink.right) / 2, 3);
  EXPECT_NEAR(321, (ink.top + ink.bottom) / 2, 4);
  EXPECT_GT(ink.right - ink.left, 80) << "a line of ten characters";

  ImageButton& close = loading.CloseButton();
  RECT rc{};
  close.GetWindowRect(&rc);
  MapWindowPoints(nullptr, loading, reinterpret_cast<POINT*>(&rc), 2);
  const RECT place{725 - 9 - 34, 6, 725 - 9, 6 + 34};  // 34 x 34, 9 in from the right, 6 down
  EXPECT_TRUE(EqualRect(&rc, &place)) << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
  Canvas drawn(34, 34), expected(34, 34);
  ScratchDC scratch;
  close.Draw(drawn.dc(), scratch.get());
  BlendPngReference(expected.dc(), IDB_CLOSE_NORMAL, 0, 0, 255);
  EXPECT_TRUE(drawn.SameAs(expected)) << "the close button shows its picture";

  // A click on the close button: posted to the overlay, which posts it on.
  close.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  close.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PumpMessages();
  EXPECT_EQ(std::vector<WPARAM>{MAKEWPARAM(2, BN_CLICKED)}, parent.delivered);
}

}  // namespace
