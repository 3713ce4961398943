// The tab row, the page area and the adjust page, built by the interpreter
// and driven by real window messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/dui_page_adjust.h"
#include "panel/dui_tab_button.h"
#include "panel/dui_tab_holder.h"
#include "tests/panel/container_fixture.h"
#include "tests/support/canvas.h"

namespace {

using TabTest = ContainerTest;
using PageTest = ContainerTest;

std::string Ctrl(const char* cls, int id, const char* extra = "") {
  return "<ctrl class=\"" + std::string(cls) + "\" id=\"" + std::to_string(id) + "\" " + extra + "/>";
}

TEST_F(TabTest, TabsShareTheRowInEqualSlotsAndFollowInsertAndDelete) {
  const struct {
    const char* name;
    std::vector<const char*> classes;  // children of the holder, ids 11, 12, ...
    std::vector<LONG> tabLefts;        // of the children that are tabs
    LONG width;
  } cases[] = {
      {"four tabs", {"tab", "tab", "tab", "tab"}, {0, 100, 200, 300}, 100},
      {"three tabs: the last column stays empty", {"tab", "tab", "tab"}, {0, 133, 266}, 133},
      {"a child that is no tab keeps its slot empty", {"tab", "page_list", "tab"}, {0, 266}, 133},
      {"no tabs", {}, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string tabs;
    for (size_t i = 0; i < c.classes.size(); ++i) tabs += Ctrl(c.classes[i], 11 + static_cast<int>(i));
    Config("<ctrl class=\"tab_holder\" id=\"2\">" + tabs + "</ctrl>");
    std::vector<LONG> lefts;
    for (size_t i = 0; i < c.classes.size(); ++i) {
      auto* tab = Find<DUITabButton>(11 + static_cast<int>(i));
      if (!tab || !tab->m_hWnd) continue;
      RECT place = PlaceInParent(*tab);
      lefts.push_back(place.left);
      EXPECT_EQ(c.width, place.right - place.left);
      EXPECT_TRUE(place.top == 0 && place.bottom == 38);
    }
    EXPECT_EQ(c.tabLefts, lefts);
  }
  // Three tabs, then a fourth inserted and one deleted: the row is laid out again each time.
  Config("<ctrl class=\"tab_holder\" id=\"2\">" + Ctrl("tab", 11) + Ctrl("tab", 12) + Ctrl("tab", 13) +
         "</ctrl>");
  manager.Execute("<command name=\"insert\" parent_id=\"2\">" + Ctrl("tab", 14) + "</command>");
  EXPECT_EQ(300, PlaceInParent(*Find<DUITabButton>(14)).left);
  EXPECT_EQ(100, PlaceInParent(*Find<DUITabButton>(12)).left);
  manager.Execute("<command name=\"delete\" parent_id=\"2\">" + Ctrl("tab", 11) + "</command>");
  EXPECT_EQ(0, PlaceInParent(*Find<DUITabButton>(12)).left);
  RECT third = PlaceInParent(*Find<DUITabButton>(13));
  EXPECT_TRUE(third.left == 133 && third.right == 266);
}

TEST_F(TabTest, ClickAsksThePhoneAndOnlyTheHoldersSelectedTabLooksSelected) {
  Config("<ctrl class=\"tab_holder\" id=\"2\" selected=\"12\">" + Ctrl("tab", 11, "name=\"滤镜\"") +
         Ctrl("tab", 12, "name=\"贴纸\"") + "</ctrl>");
  auto* first = Find<DUITabButton>(11);
  ASSERT_TRUE(first && first->m_hWnd);
  first->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(std::vector<std::string>{"<command name=\"notify\"><event name=\"click\" id=\"11\" "
                                     "parent_id=\"2\"></event></command>"},
            manager.QueuedEvents());
  EXPECT_FALSE(first->selected()) << "the click alone selects nothing";

  const COLORREF pink = DUITabButton::kSelectedColor, grey = DUITabButton::kNormalText,
                 rule = DUITabButton::kRuleColor, white = RGB(255, 255, 255);
  for (int selected : {12, 11}) {
    manager.Execute("<command name=\"modify\" parent_id=\"1\">" +
                    Ctrl("tab_holder", 2, ("selected=\"" + std::to_string(selected) + "\"").c_str()) +
                    "</command>");
    for (int id : {11, 12}) {
      SCOPED_TRACE(std::to_string(selected) + "/" + std::to_string(id));
      const bool isSelected = id == selected;
      Canvas canvas(200, 38, RGB(1, 2, 3));
      Find<DUITabButton>(id)->PaintTo(canvas.dc());
      // The band: two pink rows when selected, else one light grey rule under white.
      for (int x : {0, 100, 199}) {
        EXPECT_EQ(isSelected ? pink : rule, canvas.Pixel(x, 37));
        EXPECT_EQ(isSelected ? pink : white, canvas.Pixel(x, 36));
      }
      int pinkText = 0, greyText = 0;
      for (int y = 0; y < 35; ++y) {
        for (int x = 0; x < 200; ++x) {
          pinkText += canvas.Pixel(x, y) == pink;
          greyText += canvas.Pixel(x, y) == grey;
        }
      }
      EXPECT_EQ(isSelected, pinkText > 0);
      EXPECT_EQ(!isSelected, greyText > 0);
    }
  }
}

TEST_F(PageTest, OnlyTheSelectedPageIsShownAndAModifySwitches) {
  Config("<ctrl class=\"page_switch\" id=\"3\" selected=\"20\">" + Ctrl("page_list", 20) +
         "<ctrl class=\"page_adjust\" id=\"21\"><ctrl class=\"slider\" id=\"30\"/></ctrl>" + Ctrl("tab", 22) +
         "</ctrl>");
  std::vector<DUICtrl*> rows;
  Find<DUIPageAdjust>(21)->list().GetChildren(rows);
  ASSERT_EQ(rows.size(), 1u);
  ASSERT_FALSE(Find<DUICtrl>(22)->m_hWnd) << "only pages get windows";
  const struct {
    const char* command;  // empty: the config above
    int shown;            // 0: none
    bool rowMade;         // a hidden page's items get windows when it is first shown
  } steps[] = {
      {"", 20, false},
      {"<command name=\"modify\" parent_id=\"1\"><ctrl class=\"page_switch\" id=\"3\" "
       "selected=\"21\"/></command>",
       21, true},
      // A page inserted later gets its window at once, hidden while another is selected.
      {"<command name=\"insert\" parent_id=\"3\"><ctrl class=\"page_list\" id=\"23\"/></command>", 21, true},
      {"<command name=\"modify\" parent_id=\"1\"><ctrl class=\"page_switch\" id=\"3\" "
       "selected=\"23\"/></command>",
       23, true},
      // Without "selected" the holder shows no page.
      {"<command name=\"modify\" parent_id=\"1\"><ctrl class=\"page_switch\" id=\"3\"/></command>", 0, true},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.command);
    if (*step.command) manager.Execute(step.command);
    EXPECT_EQ(rows[0]->m_hWnd != nullptr, step.rowMade);
    for (int id : {20, 21, 23}) {
      DUICtrl* page = Find<DUICtrl>(id);
      if (!page) continue;
      ASSERT_TRUE(page->m_hWnd);
      EXPECT_EQ(id == step.shown, page->IsWindowVisible() != FALSE) << id;
      RECT place = PlaceInParent(*page);
      EXPECT_TRUE(place.left == 0 && place.top == 0 && place.right == kWidth && place.bottom == kHeight - 38);
    }
  }
}

TEST_F(PageTest, AdjustPageButtonsAskThePhoneAndItsRowsReportThePage) {
  Config(
      "<ctrl class=\"page_switch\" id=\"3\" selected=\"21\"><ctrl class=\"page_adjust\" id=\"21\" "
      "name=\"美颜\"/></ctrl>");
  auto* page = Find<DUIPageAdjust>(21);
  ASSERT_TRUE(page && page->backButton() && page->resetButton());
  // Real clicks: a press and a release over each button.
  for (HWND button : {page->backButton(), page->resetButton()}) {
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
  EXPECT_EQ(
      (std::vector<std::string>{"<command name=\"notify\"><event name=\"custom\" id=\"21\" parent_id=\"3\" "
                                "event=\"back\"></event></command>",
                                "<command name=\"notify\"><event name=\"custom\" id=\"21\" parent_id=\"3\" "
                                "event=\"reset\"></event></command>"}),
      manager.QueuedEvents());
  RECT reset = PlaceInParent(page->resetButton());
  EXPECT_TRUE(reset.left == kWidth - 100 && reset.right == kWidth) << "at the right edge";

  // Rows inserted after the page's window exist sit in one column 47 pixels
  // apart and report the page as their parent; a control that is no item is dropped.
  for (int id : {31, 32}) page->InsertChild(std::make_unique<TestTile>(id), -1);
  manager.Execute("<command name=\"insert\" parent_id=\"21\">" + Ctrl("tab", 33) + "</command>");
  std::vector<DUICtrl*> rows;
  page->list().GetChildren(rows);
  ASSERT_EQ(2u, rows.size());
  EXPECT_EQ(21, rows[1]->parentId());
  RECT second = PlaceInParent(*rows[1]);
  EXPECT_TRUE(second.left == 0 && second.top == 47 && second.right == 320 && second.bottom == 69);
}

}  // namespace
