// MiniScrollBar: thumb geometry, paging by timer, dragging and clamping.
#include "widgets/mini_scroll_bar.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/widgets/widget_test_support.h"

namespace {

class Recorder : public IMiniScrollBarOnScrollListener {
 public:
  void OnScroll(MiniScrollBar* bar, int position) override {
    EXPECT_NE(nullptr, bar);
    positions.push_back(position);
  }
  std::vector<int> positions;
};

class MiniScrollBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RECT rc{50, 20, 60, 120};  // 10 x 100
    ASSERT_TRUE(bar.Create(parent, rc, 11));
    bar.SetListener(&recorder);
  }
  LRESULT Press(int y) { return bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, y)); }
  LRESULT Move(int y) { return bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, y)); }
  int ThumbTop() const { return bar.GetThumbRect().top; }
  TestParent parent;
  MiniScrollBar bar;
  Recorder recorder;
};

// The thumb's sizes belong to the geometry; here the bar's own state.
TEST_F(MiniScrollBarTest, TheThumbReachesTheBottomAndPositionsClamp) {
  bar.SetPosition(10, false);
  EXPECT_EQ(100, bar.GetThumbRect().bottom);
  EXPECT_TRUE(recorder.positions.empty()) << "no notification without the flag";

  // The thumb picture is drawn into the thumb's rectangle only.
  Canvas canvas(10, 100);
  bar.PaintTo(canvas.dc());
  EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(5, 20));
  EXPECT_NE(RGB(255, 255, 255), canvas.Pixel(5, 72));

  bar.SetPosition(99, true);
  EXPECT_EQ(10, bar.GetPosition());
  bar.SetPosition(-3, true);
  EXPECT_EQ(0, bar.GetPosition());
  EXPECT_EQ((std::vector<int>{10, 0}), recorder.positions);
  // Raising the page above the range raises the range; nothing left to scroll.
  bar.SetPage(30);
  EXPECT_EQ(30, bar.GetRange());
  bar.SetPosition(5, false);
  EXPECT_EQ(0, bar.GetPosition());
}

TEST_F(MiniScrollBarTest, HoldingBelowTheThumbPagesByPageUntilTheEnd) {
  bar.SetRange(40);  // thumb 56 (100 * 10 / 40 = 25), scrollable range 30
  Press(90);         // below the thumb (0..56)
  EXPECT_EQ(10, bar.GetPosition());
  // Each tick of timer 3 pages down; at the end it keeps telling the same position.
  for (int i = 0; i < 3; ++i) bar.SendMessage(WM_TIMER, MiniScrollBar::kPageDownTimer);
  EXPECT_EQ(30, bar.GetPosition());
  EXPECT_EQ((std::vector<int>{10, 20, 30, 30}), recorder.positions);
  // The pointer leaving the bar stops the repetition.
  bar.SendMessage(WM_MOUSELEAVE);
  EXPECT_FALSE(KillTimer(bar, MiniScrollBar::kPageDownTimer));

  Press(10);  // above the thumb (44..100)
  EXPECT_EQ(20, bar.GetPosition());
  bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 10));
  EXPECT_FALSE(KillTimer(bar, MiniScrollBar::kPageUpTimer)) << "release stops paging";

  // Line commands move by the line step, clamped, and always notify.
  recorder.positions.clear();
  bar.SetLineStep(7);
  bar.SendMessage(WM_COMMAND, MiniScrollBar::kLineDown);
  bar.SendMessage(WM_COMMAND, MiniScrollBar::kLineDown);
  bar.SendMessage(WM_COMMAND, MiniScrollBar::kLineUp);
  EXPECT_EQ((std::vector<int>{27, 30, 23}), recorder.positions);
}

TEST_F(MiniScrollBarTest, DraggingTheThumbToTheBottomGivesRangeMinusPage) {
  bar.SetRange(100);  // thumb 56, scrollable range 90
  bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 20));
  EXPECT_EQ(MiniScrollBar::kHot, bar.GetState()) << "the pointer over the thumb";
  bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 90));
  EXPECT_EQ(MiniScrollBar::kNormal, bar.GetState()) << "the pointer below the thumb";
  Press(20);  // on the thumb
  EXPECT_EQ(MiniScrollBar::kPressed, bar.GetState());
  EXPECT_FALSE(bar.IsDragging());
  EXPECT_EQ(bar.m_hWnd, GetCapture());
  Move(22);  // the first move only starts the drag
  EXPECT_TRUE(bar.IsDragging());
  EXPECT_EQ(0, bar.GetPosition());
  EXPECT_TRUE(recorder.positions.empty());
  Move(44);  // 22 pixels of a 44-pixel track
  EXPECT_EQ(45, bar.GetPosition());
  EXPECT_EQ(22, ThumbTop());
  Move(400);  // far below: the thumb stops at the bottom
  EXPECT_EQ(90, bar.GetPosition());
  EXPECT_EQ(44, ThumbTop());
  EXPECT_EQ((std::vector<int>{45, 90}), recorder.positions);
  bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 400));
  EXPECT_FALSE(bar.IsDragging());
  EXPECT_NE(bar.m_hWnd, GetCapture());

  // Leaving the bar ends a drag too, though the button is still held.
  Press(50);
  Move(48);
  Move(40);
  ASSERT_TRUE(bar.IsDragging());
  bar.SendMessage(WM_MOUSELEAVE);
  EXPECT_FALSE(bar.IsDragging());
  EXPECT_EQ(MiniScrollBar::kNormal, bar.GetState());
  EXPECT_NE(bar.m_hWnd, GetCapture());
  int position = bar.GetPosition();
  Move(90);
  EXPECT_EQ(position, bar.GetPosition());
}

}  // namespace
