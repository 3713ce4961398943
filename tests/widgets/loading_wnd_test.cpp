// LoadingWnd: its close button acts as the parent's close command, and it
// shows its one line of text.
#include "widgets/loading_wnd.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "resources/picture_ids.h"
#include "tests/widgets/widget_test_support.h"

namespace {

TEST(LoadingWndTest, CloseButtonForwardsCommandTwoToTheParent) {
  TestParent parent(730, 648, 50, 50);
  LoadingWnd loading;
  ASSERT_TRUE(loading.Create(parent, RECT{2, 2, 727, 645}));
  ImageButton& close = loading.CloseButton();
  ASSERT_TRUE(close.IsWindow());
  RECT rc{};
  close.GetWindowRect(&rc);
  MapWindowPoints(nullptr, loading, reinterpret_cast<POINT*>(&rc), 2);
  EXPECT_EQ(725 - 9 - 34, rc.left);
  EXPECT_EQ(6, rc.top);
  EXPECT_EQ(34, rc.right - rc.left);
  EXPECT_EQ(34, rc.bottom - rc.top);
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

TEST(LoadingWndTest, PaintsCentredTextOnWhite) {
  TestParent parent(400, 200, 50, 50);
  LoadingWnd loading;
  ASSERT_TRUE(loading.Create(parent, RECT{0, 0, 400, 200}));
  Canvas canvas(400, 200, RGB(10, 10, 10));
  loading.PaintTo(canvas.dc());
  // Ink only in a band around the middle, roughly symmetric left and right.
  int left = 400, right = -1, top = 200, bottom = -1;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 400; ++x)
      if (canvas.Pixel(x, y) != RGB(255, 255, 255)) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  ASSERT_GT(right, left) << "the text is drawn";
  EXPECT_NEAR(200, (left + right) / 2, 3);
  EXPECT_NEAR(100, (top + bottom) / 2, 4);
  EXPECT_GT(right - left, 80) << "a line of ten characters";
}

}  // namespace
