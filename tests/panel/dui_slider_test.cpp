// The slider row: events from real mouse messages on its slider, the value
// text, and the phone's range and value arriving without any event.
#include "panel/dui_slider.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/panel/item_test_support.h"

namespace {

std::string Event(const char* name, int pos) {
  return std::string(R"(<command name="notify"><event name=")") + name + R"(" id="21" parent_id="20" pos=")" +
         std::to_string(pos) + R"("></event></command>)";
}

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

TEST(DUISliderTest, PressDragAndReleaseReportEachNewValueAndTheEnd) {
  // The slider spans x 50..270 of the row: 220 pixels for an 18-pixel thumb,
  // so a pointer at x in the slider gives the value (x - 9) * 100 / 202.
  struct Case {
    const char* name;
    std::vector<int> moveXs;  // after a press at x 110 (value 50, the starting value)
    std::vector<std::string> events;
    const char* shown;
  } cases[] = {
      {"slow drag from 50 to 53",
       {111, 112, 113, 114, 115, 116, 117},
       {Event("slider_pos", 51), Event("slider_pos", 52), Event("slider_pos", 53), Event("slider_end", 53)},
       "53"},
      {"press at the current value", {}, {Event("slider_end", 50)}, "50"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SliderRow row;
    ASSERT_TRUE(row.Complete());
    SendMessageA(row.slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 11));
    for (int x : c.moveXs) SendMessageA(row.slider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 11));
    SendMessageA(row.slider, WM_LBUTTONUP, 0, MAKELPARAM(c.moveXs.empty() ? 110 : c.moveXs.back(), 11));
    EXPECT_EQ(c.events, row.host.Events());
    EXPECT_EQ(c.shown, row.ValueText());
  }
}

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
