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
    ASSERT_EQ(18, slider.GetThumbWidth()) << "the thumb picture is 18 x 18";
    slider.SetListener(&recorder);
  }
  static constexpr int kWidth = 218;  // track 200 pixels for an 18-pixel thumb
  static constexpr int kHeight = 20;  // band rows 9 and 10
  TestParent parent;
  Slider slider;
  Recorder recorder;
};

TEST_F(SliderTest, PointerSetsTheValueAndReportsChanges) {
  slider.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(109, 10));  // (109 - 9) * 100 / 200
  EXPECT_EQ(50, slider.GetValue());
  EXPECT_TRUE(recorder.positions.empty()) << "50 is the starting value: no change";
  slider.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(59, 10));
  slider.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(9, 10));  // button up: ignored
  slider.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(500, 10));
  EXPECT_EQ(100, slider.GetValue());
  EXPECT_EQ((std::vector<int>{25, 100}), recorder.positions);
  slider.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(500, 10));
  EXPECT_EQ((std::vector<int>{100}), recorder.ends);
}

TEST_F(SliderTest, ReleaseAlwaysEndsEvenAfterAPressElsewhere) {
  slider.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(30, 10));
  EXPECT_EQ((std::vector<int>{50}), recorder.ends);
  EXPECT_TRUE(recorder.positions.empty());
}

TEST_F(SliderTest, SetValueClampsWithoutNotifying) {
  slider.SetValue(150);
  EXPECT_EQ(100, slider.GetValue());
  slider.SetValue(-20);
  EXPECT_EQ(0, slider.GetValue());
  slider.SetMinimum(10);
  EXPECT_EQ(10, slider.GetValue());
  slider.SetValue(80);
  slider.SetMaximum(60);
  EXPECT_EQ(60, slider.GetValue());
  EXPECT_TRUE(recorder.positions.empty());
  EXPECT_TRUE(recorder.ends.empty());
}

TEST_F(SliderTest, CentredRangeFillsFromTheCentreAndMarksZero) {
  slider.SetMinimum(-100);
  slider.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(109, 10));
  EXPECT_EQ(0, slider.GetValue());
  slider.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(59, 10));
  EXPECT_EQ(-50, slider.GetValue());
  EXPECT_EQ((std::vector<int>{0, -50}), recorder.positions);

  Canvas canvas(kWidth, kHeight);
  // At -50 the thumb spans 50..68; the fill runs from its left edge to the centre (109).
  slider.PaintTo(canvas.dc());
  EXPECT_EQ(Slider::kFillColor, canvas.Pixel(80, 9));
  EXPECT_EQ(Slider::kFillColor, canvas.Pixel(105, 10));
  EXPECT_EQ(Slider::kTrackColor, canvas.Pixel(130, 9));
  EXPECT_EQ(Slider::kTrackColor, canvas.Pixel(20, 9));
  EXPECT_EQ(Slider::kFillColor, canvas.Pixel(108, 8)) << "the zero dot above the band";
  EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(80, 8));

  // At 0 the fill runs from the centre to the thumb's right edge (under the thumb).
  slider.SetValue(0);
  slider.PaintTo(canvas.dc());
  EXPECT_EQ(Slider::kTrackColor, canvas.Pixel(80, 9));
  EXPECT_EQ(Slider::kTrackColor, canvas.Pixel(130, 9));
}

TEST_F(SliderTest, PositiveRangeFillsFromTheLeftWithoutDot) {
  slider.SetValue(50);  // thumb at 100..118
  Canvas canvas(kWidth, kHeight);
  slider.PaintTo(canvas.dc());
  EXPECT_EQ(Slider::kFillColor, canvas.Pixel(1, 9));
  EXPECT_EQ(Slider::kFillColor, canvas.Pixel(95, 10));
  EXPECT_EQ(Slider::kTrackColor, canvas.Pixel(150, 9));
  EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(60, 8)) << "no zero dot";
}

}  // namespace
