// Slider: value from the pointer, the filled part and the listener calls.
#include "widgets/slider.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/widgets/widget_test_support.h"

namespace {

class Recorder : public ISliderListener {
 public:
  void OnSliderPos(int value) override { positions.push_back(value); }
  void OnSliderEnd(int value) override { ends.push_back(value); }
  std::vector<int> positions, ends;
};

class SliderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(slider.Create(parent, RECT{10, 10, 10 + kWidth, 10 + kHeight}));
    slider.SetListener(&recorder);
  }
  static constexpr int kWidth = 218;  // track 200 pixels for an 18-pixel thumb
  static constexpr int kHeight = 20;  // band rows 9 and 10
  TestParent parent;
  Slider slider;
  Recorder recorder;
};

TEST_F(SliderTest, PointerSetsTheValueAndReportsChangesAndEveryReleaseEnds) {
  slider.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(30, 10));  // after a press elsewhere
  EXPECT_EQ((std::vector<int>{50}), recorder.ends);
  slider.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(109, 10));  // (109 - 9) * 100 / 200
  EXPECT_EQ(50, slider.GetValue());
  EXPECT_TRUE(recorder.positions.empty()) << "50 is the starting value: no change";
  slider.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(59, 10));
  slider.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(9, 10));  // button up: ignored
  slider.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(500, 10));
  EXPECT_EQ(100, slider.GetValue());
  EXPECT_EQ((std::vector<int>{25, 100}), recorder.positions);
  slider.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(500, 10));
  EXPECT_EQ((std::vector<int>{50, 100}), recorder.ends);
}

TEST_F(SliderTest, ANewRangeClampsTheValueWithoutNotifying) {
  slider.SetValue(80);
  slider.SetMaximum(60);
  EXPECT_EQ(60, slider.GetValue());
  slider.SetMinimum(70);
  EXPECT_EQ(70, slider.GetValue());
  EXPECT_TRUE(recorder.positions.empty() && recorder.ends.empty());
}

TEST_F(SliderTest, FilledPartAndZeroDotFollowTheRange) {
  // The 18-pixel thumb's left edge is at 200 * (value - minimum) / (maximum - minimum).
  struct Case {
    const char* name;
    int minimum, pointerX, value;  // a press at pointerX gives value
    int filledX;    // a column of the band (rows 9 and 10) in the fill colour; -1: hidden under the thumb
    int trackX[2];  // columns in the track colour
    bool zeroDot;   // the dot above the band at the centre shows (the thumb may cover it)
  } cases[] = {
      {"0..100 at 50: from the left to the thumb (100..118)", 0, 109, 50, 95, {150, 125}, false},
      {"-100..100 at -50: from the thumb (50..68) to the centre", -100, 59, -50, 105, {130, 20}, true},
      {"-100..100 at 0: from the centre, under the thumb (100..118)", -100, 109, 0, -1, {80, 130}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    slider.SetMinimum(c.minimum);
    slider.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.pointerX, 10));
    slider.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(c.pointerX, 10));
    EXPECT_EQ(c.value, slider.GetValue());
    Canvas canvas(kWidth, kHeight);
    slider.PaintTo(canvas.dc());
    if (c.filledX >= 0) {
      EXPECT_EQ(Slider::kFillColor, canvas.Pixel(c.filledX, 9));
    }
    for (int x : c.trackX) EXPECT_EQ(Slider::kTrackColor, canvas.Pixel(x, 10)) << x;
    EXPECT_EQ(c.zeroDot, canvas.Pixel(108, 8) == Slider::kFillColor);
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(80, 8));
  }
}

}  // namespace
