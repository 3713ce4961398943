// The item grid of a page: places, content height, the selected mark and
// wheel scrolling, through a page list built by the interpreter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/dui_page_list.h"
#include "tests/panel/container_fixture.h"
#include "tests/support/pump.h"

namespace {

class ListViewTest : public ContainerTest {
 protected:
  // A page list (id 20) with `attributes` holding tiles 101, 102, ...
  DUIPageList& PageWithTiles(const std::string& attributes, int tiles) {
    Config("<ctrl class=\"page_switch\" id=\"3\" selected=\"20\"><ctrl class=\"page_list\" id=\"20\" " +
           attributes + "/></ctrl>");
    DUIPageList* page = Find<DUIPageList>(20);
    EXPECT_TRUE(page && page->m_hWnd);
    for (int i = 0; i < tiles; ++i) page->InsertChild(std::make_unique<TestTile>(101 + i), -1);
    return *page;
  }
  TestTile& Tile(int id) { return *Find<TestTile>(id); }
  // The tile's top left in the container (scrolled).
  POINT TopLeft(int id) {
    RECT place = PlaceInParent(Tile(id));
    return {place.left, place.top};
  }
};

TEST_F(ListViewTest, GridPlacesItemsInRowsAndSetsTheContentHeight) {
  const struct {
    const char* attributes;
    int tiles;
    int probe;  // tile id whose place is checked
    POINT place;
    int contentHeight;
  } cases[] = {
      {"", 7, 107, {0, 160}, 247},  // 3 columns, 68 x 68, 34 x 12 apart
      {"", 7, 106, {204, 80}, 247},
      {"", 0, 0, {}, 19},
      {"col=\"2\" item_width=\"100\" item_height=\"40\" spacex=\"5\" spacey=\"0\"", 3, 102, {105, 0}, 99},
      {"col=\"0\"", 2, 102, {0, 80}, 167},  // fewer than one column counts as one
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.attributes + std::to_string(c.probe));
    // A list 12 pixels high: the bar's range is the whole content height.
    DUIPageList& page = PageWithTiles(std::string("list_padding_top=\"450\" ") + c.attributes, c.tiles);
    if (c.probe) {
      POINT at = TopLeft(c.probe);
      EXPECT_TRUE(at.x == c.place.x && at.y == c.place.y) << at.x << "," << at.y;
    }
    EXPECT_EQ(c.contentHeight, page.list().scrollBar().GetRange());
    RECT list = PlaceInParent(page.list());
    EXPECT_TRUE(list.left == 38 && list.top == 450) << "at the page's padding";
  }
}

TEST_F(ListViewTest, SelectedItemFollowsThePagesSelectedWithoutMovingItems) {
  DUIPageList& page = PageWithTiles("selected=\"102\"", 7);
  const struct {
    const char* modify;  // attributes of a modify of page 20; null: as built
    int selected;
  } steps[] = {
      {nullptr, 102},
      // A new grid layout waits for the next insert or remove; only the mark moves.
      {"selected=\"105\" col=\"1\"", 105},
      // Without "selected" the mark stays where it is.
      {"", 105},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.modify ? step.modify : "as built");
    if (step.modify) {
      manager.Execute("<command name=\"modify\" parent_id=\"3\"><ctrl class=\"page_list\" id=\"20\" " +
                      std::string(step.modify) + "/></command>");
    }
    for (int id = 101; id <= 107; ++id) EXPECT_EQ(id == step.selected, Tile(id).selected()) << id;
    POINT at = TopLeft(107);
    EXPECT_TRUE(at.x == 0 && at.y == 160) << at.x << "," << at.y;
  }
  EXPECT_EQ(20, Tile(101).parentId()) << "the items report their page";
  // The next insert lays the grid out with the new single column.
  page.InsertChild(std::make_unique<TestTile>(108), -1);
  EXPECT_EQ(480, TopLeft(107).y);
}

TEST_F(ListViewTest, WheelNotchScrollsOneRowUntilTheEndOfTheContent) {
  // 24 tiles: 8 rows, content 647 pixels in a list of 376 (500 - 38 - 86).
  DUIPageList& page = PageWithTiles("", 24);
  const MiniScrollBar& bar = page.list().scrollBar();
  ASSERT_EQ(376, bar.GetPage());
  ASSERT_EQ(647, bar.GetRange());
  const struct {
    short delta;
    int position;
  } notches[] = {{-120, 80}, {-1, 160}, {-120, 240}, {-120, 271}, {-120, 271}, {120, 191}, {480, 111}};
  for (const auto& notch : notches) {
    // Turned over the container, which hands the wheel to the list.
    SendMessageA(page.list().container(), WM_MOUSEWHEEL, MAKEWPARAM(0, notch.delta), 0);
    EXPECT_EQ(notch.position, bar.GetPosition()) << notch.delta;
    EXPECT_EQ(-notch.position, TopLeft(101).y) << "the item windows move with the contents";
  }
  // Any insert or remove lays the grid out again at the top.
  manager.Execute("<command name=\"delete\" parent_id=\"20\"><ctrl id=\"124\"/></command>");
  EXPECT_EQ(0, bar.GetPosition());
  EXPECT_EQ(0, TopLeft(101).y);
  EXPECT_EQ(nullptr, Find<TestTile>(124));
}

TEST_F(ListViewTest, BarShowsWhileThePointerIsOverAListWithMoreContentThanFits) {
  DUIPageList& page = PageWithTiles("", 24);
  HWND bar = page.list().scrollBar();
  RECT list{};
  GetWindowRect(page.list(), &list);
  EXPECT_FALSE(IsWindowVisible(bar));
  SetCursorPos(list.left + 50, list.top + 50);
  EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(bar) != FALSE; }, 2000));
  SetCursorPos(list.left - 20, list.top + 50);
  EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(bar) == FALSE; }, 2000));
}

}  // namespace
