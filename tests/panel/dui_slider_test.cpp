// The slider row: the phone's range and value arriving without any event.
// (A drag's events to the phone are checked end to end, with the main dialog.)
#include "panel/dui_slider.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/panel/item_test_support.h"

namespace {

// A row with id 21 in a page with id 20, 320 x 22 as an adjustment page lays it out.
struct SliderRow {
  SliderRow() {
    row = host.Add<DUISlider>("slider", Attributes({{"id", "21"}, {"name", "强度"}}), RECT{0, 0, 320, 22});
    if (!row) return;
    // The parts found where the pointer would find them.
    slider = ChildWindowFromPoint(*row, POINT{100, 11});
    valueLabel = ChildWindowFromPoint(*row, POINT{300, 11});
  }
  bool Complete() const { return row && slider && slider != *row && valueLabel && valueLabel != *row; }
  std::string ValueText() const {
    char text[32] = {};
    GetWindowTextA(valueLabel, text, sizeof text);
    return text;
  }
  ItemHost host{20};
  DUISlider* row = nullptr;
  HWND slider = nullptr, valueLabel = nullptr;
};

TEST(DUISliderTest, ThePhonesRangeAndValueShowWithoutEvents) {
  SliderRow row;
  ASSERT_TRUE(row.Complete());
  struct Step {
    std::vector<std::pair<const char*, const char*>> attributes;
    const char* shown;
  } steps[] = {
      {{}, "50"},
      {{{"pos", "5"}}, "5"},
      {{{"min", "10"}}, "10"},                                // a new minimum raises the value
      {{{"min", "30"}, {"max", "20"}, {"pos", "25"}}, "30"},  // max below min: the clamp raises last
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.shown);
    auto attributes = Attributes({{"id", "21"}});
    for (const auto& pair : step.attributes) attributes->Add(pair.first, pair.second);
    row.row->SetAttributes(std::move(attributes));
    EXPECT_EQ(step.shown, row.ValueText());
  }
  EXPECT_TRUE(row.host.Events().empty());
}

}  // namespace
