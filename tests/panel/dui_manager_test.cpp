// The interpreter of the phone's commands, through DUIManager::Execute with
// the real control classes: XML in, tree shape and attributes out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/dui_ctrl.h"
#include "panel/dui_manager.h"
#include "tests/support/fuzz_input.h"
#include "tests/support/pump.h"

namespace {

// "class#id" per control, children in brackets, as GetChildren reports them
// (a page's items are its list's children).
std::string Shape(const DUICtrl& control) {
  std::string out = control.className() + "#" + std::to_string(control.id());
  std::vector<DUICtrl*> children;
  control.GetChildren(children);
  if (children.empty()) return out;
  out += "[";
  for (size_t i = 0; i < children.size(); ++i) out += (i ? "," : "") + Shape(*children[i]);
  return out + "]";
}

std::string Shape(const DUIManager& manager) {
  return manager.root() ? Shape(*manager.root()) : "none";
}

std::string Ctrl(const std::string& cls, int id, const std::string& inner = "",
                 const std::string& extra = "") {
  std::string open = "<ctrl class=\"" + cls + "\" id=\"" + std::to_string(id) + "\"" + extra;
  return inner.empty() ? open + "/>" : open + ">" + inner + "</ctrl>";
}

std::string Command(const std::string& head, const std::string& body) {
  return "<command " + head + ">" + body + "</command>";
}

// A small panel: root 1, tabs 2 (3, 4), pages 5 holding list 6 with items 7, 8.
const std::string kConfig = Command(
    "name=\"config\"",
    Ctrl("op_area", 1,
         Ctrl("tab_holder", 2, Ctrl("tab", 3) + Ctrl("tab", 4)) +
             Ctrl("page_switch", 5,
                  Ctrl("page_list", 6, Ctrl("filter_item", 7) + Ctrl("filter_item", 8), " selected=\"7\""),
                  " selected=\"6\"")));
const std::string kShape =
    "op_area#1[tab_holder#2[tab#3,tab#4],page_switch#5[page_list#6[filter_item#7,filter_item#8]]]";

}  // namespace

TEST(DUIManagerTest, CommandsChangeTheTreeAsThePhoneAsks) {
  const struct {
    const char* what;
    std::vector<std::string> commands;  // after kConfig
    std::string shape;
  } cases[] = {
      {"config builds the tree", {}, kShape},
      {"a second config replaces it",
       {Command("name=\"config\"", Ctrl("op_area", 9) + Ctrl("op_area", 10))},
       "op_area#9"},
      {"a config without known classes keeps the tree",
       {Command("name=\"config\"", Ctrl("nothing", 9))},
       kShape},
      {"insert appends in document order",
       {Command("name=\"insert\" parent_id=\"6\"", Ctrl("decor_item", 20) + Ctrl("circle_item", 21))},
       "op_area#1[tab_holder#2[tab#3,tab#4],page_switch#5[page_list#6[filter_item#7,filter_item#8,decor_item#"
       "20,"
       "circle_item#21]]]"},
      {"insert at pos_index 0 skips an unknown class and keeps the order",
       {Command("name=\"insert\" parent_id=\"2\" pos_index=\"0\"",
                Ctrl("tab", 20) + Ctrl("bogus", 21) + Ctrl("tab", 22))},
       "op_area#1[tab_holder#2[tab#20,tab#22,tab#3,tab#4],page_switch#5[page_list#6[filter_item#7,filter_"
       "item#8]]]"},
      {"insert or delete under the root's id does nothing",
       {Command("name=\"insert\" parent_id=\"1\"", Ctrl("tab_holder", 20)),
        Command("name=\"delete\" parent_id=\"1\"", Ctrl("tab_holder", 2))},
       kShape},
      {"delete removes a subtree; one without id or parent is skipped",
       {Command("name=\"delete\" parent_id=\"5\"", "<ctrl class=\"x\"/>" + Ctrl("page_list", 6)),
        Command("name=\"delete\"", Ctrl("tab", 3))},
       "op_area#1[tab_holder#2[tab#3,tab#4],page_switch#5]"},
      {"modify through the root reaches its children",
       {Command("name=\"modify\" parent_id=\"1\"", "<ctrl id=\"2\"/>")},
       "op_area#1[#2[tab#3,tab#4],page_switch#5[page_list#6[filter_item#7,filter_item#8]]]"},
      {"a modify replaces every attribute; one without id is skipped",
       {Command("name=\"modify\" parent_id=\"6\"", "<ctrl id=\"8\"/><ctrl class=\"tab\"/>")},
       "op_area#1[tab_holder#2[tab#3,tab#4],page_switch#5[page_list#6[filter_item#7,#8]]]"},
      {"the first element's name is not examined; unknown commands and broken text do nothing",
       {"<anything name=\"delete\" parent_id=\"2\">" + Ctrl("tab", 3) + "</anything>",
        Command("name=\"remove\" parent_id=\"2\"", Ctrl("tab", 4)),
        "<command name=\"delete\" parent_id=\"2\"><ctrl", Command("", Ctrl("op_area", 40))},
       "op_area#1[tab_holder#2[tab#4],page_switch#5[page_list#6[filter_item#7,filter_item#8]]]"},
  };
  for (const auto& c : cases) {
    DUIManager manager(nullptr);
    manager.Execute(kConfig);
    for (const std::string& command : c.commands) manager.Execute(command);
    EXPECT_EQ(Shape(manager), c.shape) << c.what;
  }
}

// The phone decides how big the tree gets; the manager refuses a command that
// would take it past its cap, whole. The cap counts every control, also the
// rows of an adjust page (which the id searches do not see).
TEST(DUIManagerTest, InsertsPastTheControlCapAreRefusedWhole) {
  DUIManager manager(nullptr);
  manager.Execute(kConfig);  // 8 controls
  auto insert = [](const std::string& cls, int parent, int first, size_t n) {
    std::string body;
    for (size_t i = 0; i < n; ++i) body += Ctrl(cls, first + static_cast<int>(i));
    return Command("name=\"insert\" parent_id=\"" + std::to_string(parent) + "\"", body);
  };
  auto itemsOfPage6 = [&] {
    std::vector<DUICtrl*> all, items;
    CollectDescendants(*manager.root(), all);
    for (DUICtrl* c : all)
      if (c->id() == 6) c->GetChildren(items);
    return items.size();
  };
  manager.Execute(insert("page_adjust", 5, 9, 1));
  manager.Execute(insert("slider", 9, 1000, CommandLimits::kMaxCtrlsPerCommand));  // 1009 in all
  const size_t room = DUIManager::kMaxTotalCtrls - 1009;
  manager.Execute(insert("decor_item", 6, 5000, room + 1));
  EXPECT_EQ(itemsOfPage6(), 2u);
  manager.Execute(insert("decor_item", 6, 5000, room));
  EXPECT_EQ(itemsOfPage6(), 2u + room);
}

// Mutated commands through the real interpreter with the windows made: no
// crash, no hang, and no window of an earlier tree left behind (the last
// "config" leaves exactly the windows a fresh one makes).
TEST(DUIManagerTest, MutatedCommandsOnALiveTreeLeaveNothingBehind) {
  auto countWindows = [](HWND parent) {
    int count = 0;
    EnumChildWindows(
        parent, [](HWND, LPARAM n) { return ++*reinterpret_cast<int*>(n), TRUE; },
        reinterpret_cast<LPARAM>(&count));
    return count;
  };
  auto makeParent = [] {
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 350, 570, nullptr, nullptr, nullptr, nullptr);
  };
  auto attachTo = [](HWND parent) {
    return [parent](DUICtrl& root) { return root.Create(parent, RECT{0, 0, 350, 570}) != nullptr; };
  };
  HWND fresh = makeParent(), fuzzed = makeParent();
  ASSERT_TRUE(fresh && fuzzed);
  DUIManager reference(attachTo(fresh));
  reference.Execute(kConfig);
  DUIManager manager(attachTo(fuzzed));
  const std::string seeds[] = {
      kConfig,
      Command("name=\"insert\" parent_id=\"6\" pos_index=\"1\"",
              Ctrl("filter_item", 20) + Ctrl("slider", 21)),
      Command("name=\"modify\" parent_id=\"5\"", Ctrl("page_list", 6, "", " selected=\"8\" col=\"0\"")),
      Command("name=\"delete\" parent_id=\"2\"", Ctrl("tab", 3)),
  };
  FuzzInput fuzz(7);
  for (int round = 0; round < 400; ++round) {
    const std::string& seed = seeds[fuzz.Below(4)];
    manager.Execute(round % 4 == 0 ? seed : fuzz.Mutate(seed, 1 + fuzz.Below(6), "<>/\"=0123456789-x "));
    if (round % 50 == 0) PumpMessages();
  }
  manager.Execute(kConfig);
  PumpMessages();
  EXPECT_EQ(countWindows(fuzzed), countWindows(fresh));
  DestroyWindow(fresh);
  DestroyWindow(fuzzed);
}
