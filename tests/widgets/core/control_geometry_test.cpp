// Scroll-bar thumb geometry and slider value mapping.
#include "widgets/core/control_geometry.h"

#include <gtest/gtest.h>

namespace {

TEST(ScrollGeometryTest, MinimumThumbAndPositionAtBottom) {
  int h = ScrollThumbHeight(100, 20, 10);
  EXPECT_EQ(56, h);  // 100 * 10 / 20 = 50 is raised to 56
  EXPECT_EQ(44, ScrollThumbOffset(100, h, 20, 10, 10));
  EXPECT_EQ(0, ScrollThumbOffset(100, h, 20, 10, 0));
  EXPECT_EQ(10, ScrollPositionFromOffset(100, h, 20, 10, 44));
  EXPECT_EQ(300, ScrollThumbHeight(600, 200, 100));
  EXPECT_EQ(100, ScrollThumbHeight(100, 0, 10));  // no content: the whole bar
}

TEST(ScrollGeometryTest, ClampKeepsPositionInsideTheScrollableRange) {
  EXPECT_EQ(0, ClampScrollPosition(-5, 20, 10));
  EXPECT_EQ(10, ClampScrollPosition(99, 20, 10));
  EXPECT_EQ(0, ClampScrollPosition(3, 10, 10));  // nothing to scroll
}

TEST(SliderGeometryTest, ValueFromPointerAndBack) {
  // Client 0..216, thumb 16 wide: the track is 200 pixels.
  EXPECT_EQ(0, SliderValueFromX(8, 0, 216, 16, 0, 100));
  EXPECT_EQ(50, SliderValueFromX(108, 0, 216, 16, 0, 100));
  EXPECT_EQ(100, SliderValueFromX(500, 0, 216, 16, 0, 100));
  EXPECT_EQ(0, SliderValueFromX(-40, 0, 216, 16, 0, 100));
  EXPECT_EQ(100, SliderThumbLeft(50, 0, 216, 16, 0, 100));
}

TEST(SliderGeometryTest, RangeCentredOnZero) {
  EXPECT_EQ(-100, SliderValueFromX(8, 0, 216, 16, -100, 100));
  EXPECT_EQ(0, SliderValueFromX(108, 0, 216, 16, -100, 100));
  EXPECT_EQ(-50, SliderValueFromX(58, 0, 216, 16, -100, 100));
  EXPECT_EQ(100, SliderThumbLeft(0, 0, 216, 16, -100, 100));
  EXPECT_EQ(50, SliderThumbLeft(-50, 0, 216, 16, -100, 100));
}

TEST(SliderGeometryTest, DegenerateSlidersStayAtTheMinimum) {
  EXPECT_EQ(5, SliderValueFromX(100, 0, 216, 16, 5, 5));
  EXPECT_EQ(0, SliderThumbLeft(5, 0, 216, 16, 5, 5));
  EXPECT_EQ(0, SliderValueFromX(100, 0, 10, 16, 0, 100));
  EXPECT_EQ(0, SliderThumbLeft(50, 0, 10, 16, 0, 100));
}

}  // namespace
