// Scroll-bar thumb geometry and slider value mapping, including the bars
// and sliders with nothing or almost nothing to move.
#include "widgets/core/control_geometry.h"

#include <gtest/gtest.h>

namespace {

TEST(ScrollGeometryTest, ThumbSizeAndPlaceForPositions) {
  struct Case {
    const char* name;
    int bar, range, page, position;
    int height, offset;
  } cases[] = {
      {"defaults: 50 raised to the minimum", 100, 20, 10, 0, 56, 0},
      {"defaults at the end", 100, 20, 10, 10, 56, 44},
      {"proportional thumb", 600, 200, 100, 50, 300, 150},
      {"no content: the whole bar", 100, 0, 10, 0, 100, 0},
      {"range one more than the page", 100, 11, 10, 1, 90, 10},
      {"range equal to the page", 100, 10, 10, 0, 100, 0},
      {"bar one shorter than the minimum thumb", 55, 20, 10, 10, 56, -1},
  };
  for (const Case& c : cases) {
    int height = ScrollThumbHeight(c.bar, c.range, c.page);
    EXPECT_EQ(c.height, height) << c.name;
    EXPECT_EQ(c.offset, ScrollThumbOffset(c.bar, height, c.range, c.page, c.position)) << c.name;
  }
}

TEST(ScrollGeometryTest, PositionFromADraggedThumbAndClamping) {
  struct Case {
    const char* name;
    int bar, thumb, range, page, offset;
    int position;
  } cases[] = {
      {"bottom of the default bar", 100, 56, 20, 10, 44, 10},
      {"range one more than the page", 100, 90, 11, 10, 10, 1},
      {"range one more than the page, halfway", 100, 90, 11, 10, 5, 0},
      {"thumb as tall as the bar: no track", 56, 56, 20, 10, 3, 0},
      {"thumb taller than the bar", 55, 56, 20, 10, 5, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.position, ScrollPositionFromOffset(c.bar, c.thumb, c.range, c.page, c.offset)) << c.name;
  EXPECT_EQ(0, ClampScrollPosition(-5, 20, 10));
  EXPECT_EQ(10, ClampScrollPosition(99, 20, 10));
  EXPECT_EQ(1, ClampScrollPosition(99, 11, 10));
  EXPECT_EQ(0, ClampScrollPosition(3, 10, 10));  // nothing to scroll
}

TEST(SliderGeometryTest, ValueFromPointerAndThumbForValue) {
  // Client 0..216 with a 16-pixel thumb: a 200-pixel track.
  struct Case {
    const char* name;
    int right, minimum, maximum;
    int x, value;      // pointer x gives value
    int shown, thumb;  // value `shown` puts the thumb's left edge at `thumb`
  } cases[] = {
      {"left end", 216, 0, 100, 8, 0, 0, 0},
      {"middle", 216, 0, 100, 108, 50, 50, 100},
      {"beyond the right end", 216, 0, 100, 500, 100, 100, 200},
      {"beyond the left end", 216, 0, 100, -40, 0, 0, 0},
      {"centred on zero, left end", 216, -100, 100, 8, -100, 0, 100},
      {"centred on zero, quarter", 216, -100, 100, 58, -50, -50, 50},
      {"no range: stays at the minimum", 216, 5, 5, 100, 5, 5, 0},
      {"track exactly 0 wide", 16, 0, 100, 10, 0, 50, 0},
      {"client narrower than the thumb", 10, 0, 100, 100, 0, 50, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.value, SliderValueFromX(c.x, 0, c.right, 16, c.minimum, c.maximum)) << c.name;
    EXPECT_EQ(c.thumb, SliderThumbLeft(c.shown, 0, c.right, 16, c.minimum, c.maximum)) << c.name;
  }
}

}  // namespace
