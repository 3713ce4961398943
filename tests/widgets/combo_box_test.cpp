// ComboBox and its list: geometry of the pop-up, closing by presses that
// the message hook sees, and the order of selection and close.
#include "widgets/combo_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/core/app_messages.h"
#include "tests/widgets/widget_test_support.h"

namespace {

class Recorder : public IComboBoxListener {
 public:
  void OnSelChange(ComboBox* box, const char* text) override {
    EXPECT_NE(nullptr, box);
    selections.push_back(text);
  }
  std::vector<std::string> selections;
};

class ComboBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The parent's client starts at screen (100, 100): the field is (116, 120)-(460, 156).
    ASSERT_TRUE(combo.Create(parent, RECT{16, 20, 360, 56}));
    combo.SetListener(&recorder);
    combo.SetText("未检测到设备");
    combo.AddString("Pixel 7");
    combo.AddString("iPhone 13");
    EXPECT_EQ(3, combo.AddString("Galaxy S22"));
  }
  void TearDown() override {
    if (combo.List().IsWindow()) combo.List().DestroyWindow();
    PumpMessages();
  }
  // A real press: the cursor at a screen point and WM_LBUTTONDOWN retrieved
  // from the queue, so the list's message hook sees it.
  void PressAt(HWND target, POINT screen) {
    ASSERT_TRUE(SetCursorPos(screen.x, screen.y));
    POINT client = screen;
    ScreenToClient(target, &client);
    PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    PumpMessages();
  }
  void Open() {
    combo.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(100, 18));
    combo.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 18));
    ASSERT_TRUE(combo.IsOpen());
    ASSERT_TRUE(combo.List().IsWindow());
    ASSERT_EQ(&combo.List(), CComboBoxList::OpenList());
    ASSERT_TRUE(CComboBoxList::WatchesPresses());
  }
  TestParent parent;
  ComboBox combo;
  Recorder recorder;
};

TEST_F(ComboBoxTest, ThreeItemsOpenA138PixelListOverlappingTheFieldByOnePixel) {
  Canvas closed(344, 36), open(344, 36);
  combo.PaintTo(closed.dc());
  // Inside the outline: the text from 16 pixels in, the arrow centred in
  // the 18 pixels that end 10 pixels before the right edge.
  auto inkIn = [&closed](int left, int right) {
    int ink = 0;
    for (int y = 2; y < 34; ++y)
      for (int x = left; x < right; ++x) ink += closed.Pixel(x, y) != RGB(255, 255, 255);
    return ink;
  };
  EXPECT_EQ(0, inkIn(1, 16));
  EXPECT_GT(inkIn(16, 306), 30) << "the text";
  EXPECT_EQ(0, inkIn(306, 316));
  EXPECT_GT(inkIn(316, 334), 10) << "the arrow";
  Open();
  RECT field{}, list{};
  combo.GetWindowRect(&field);
  combo.List().GetWindowRect(&list);
  EXPECT_EQ(138, list.bottom - list.top);
  EXPECT_EQ(field.bottom - 1, list.top);
  EXPECT_EQ(field.left, list.left);
  EXPECT_EQ(field.right, list.right);
  EXPECT_TRUE(combo.List().IsWindowVisible());
  EXPECT_TRUE(combo.List().GetExStyle() & WS_EX_TOPMOST);
  EXPECT_FALSE(combo.List().GetStyle() & WS_CAPTION);
  EXPECT_NE(combo.List().m_hWnd, GetActiveWindow()) << "the list never takes the activation";

  // The field's bottom corners are rounded while closed and square while open.
  combo.PaintTo(open.dc());
  EXPECT_EQ(RGB(255, 255, 255), closed.Pixel(0, 35));
  EXPECT_EQ(RGB(0xE0, 0xE0, 0xE0), open.Pixel(0, 35));
  EXPECT_EQ(RGB(255, 255, 255), open.Pixel(0, 0)) << "top corners stay rounded";
  EXPECT_EQ(RGB(0xE0, 0xE0, 0xE0), open.Pixel(100, 35));

  // The list's outline runs along its outermost visible pixels.
  Canvas listCanvas(344, 138);
  combo.List().PaintTo(listCanvas.dc());
  EXPECT_EQ(RGB(0xE0, 0xE0, 0xE0), listCanvas.Pixel(343, 20));
  EXPECT_EQ(RGB(0xE0, 0xE0, 0xE0), listCanvas.Pixel(0, 20));
  EXPECT_EQ(RGB(255, 255, 255), listCanvas.Pixel(170, 20));

  // The list's window shape has square top and rounded bottom corners.
  RegionHandle shape(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(ERROR, GetWindowRgn(combo.List(), shape.get()));
  EXPECT_TRUE(PtInRegion(shape.get(), 0, 0));
  EXPECT_TRUE(PtInRegion(shape.get(), 343, 0));
  EXPECT_FALSE(PtInRegion(shape.get(), 0, 136));
  EXPECT_TRUE(PtInRegion(shape.get(), 5, 136));
}

TEST_F(ComboBoxTest, PressOnTheFieldWhileOpenClosesWithoutReopening) {
  Open();
  combo.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(100, 18));  // pointer back over the text
  PressAt(combo, POINT{216, 138});
  EXPECT_FALSE(combo.List().IsWindow());
  EXPECT_FALSE(combo.IsOpen());
  EXPECT_EQ(nullptr, CComboBoxList::OpenList());
  EXPECT_FALSE(combo.List().ClosedByClick()) << "cleared once the press reached the field";
  EXPECT_TRUE(recorder.selections.empty());
  // The next press opens it again.
  combo.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(100, 18));
  PressAt(combo, POINT{216, 138});
  EXPECT_TRUE(combo.List().IsWindow());
}

TEST_F(ComboBoxTest, AnotherProgramBecomingActiveOrAnOutsidePressClosesWithoutSelection) {
  Open();
  combo.List().SendMessage(WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_FALSE(combo.List().IsWindow());
  PumpMessages();
  EXPECT_FALSE(combo.IsOpen());
  EXPECT_EQ(nullptr, CComboBoxList::OpenList());
  EXPECT_FALSE(CComboBoxList::WatchesPresses()) << "the message hook goes with the list";

  Open();
  combo.List().SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(50, 46 + 20));  // hover the second row
  EXPECT_EQ(1, combo.List().GetHot());
  PressAt(parent, POINT{450, 350});  // below the list, on the parent
  EXPECT_FALSE(combo.List().IsWindow());
  EXPECT_FALSE(combo.IsOpen());
  EXPECT_TRUE(recorder.selections.empty());
  EXPECT_EQ("未检测到设备", combo.GetText());
  EXPECT_EQ(1, combo.GetCurSel()) << "hovering made row 1 the selection although nothing was chosen";
}

TEST_F(ComboBoxTest, ClickingARowPostsSelectionThenClose) {
  Open();
  combo.List().SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(50, 2 * 46 + 10));
  combo.List().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 2 * 46 + 10));
  EXPECT_FALSE(combo.List().IsWindow());
  std::vector<UINT> order;
  MSG msg;
  while (PeekMessageA(&msg, combo, WM_COMBOLIST_SELECT, WM_COMBOLIST_CLOSED, PM_REMOVE)) {
    order.push_back(msg.message);
    DispatchMessageA(&msg);
  }
  EXPECT_EQ((std::vector<UINT>{WM_COMBOLIST_SELECT, WM_COMBOLIST_CLOSED}), order);
  EXPECT_EQ((std::vector<std::string>{"Galaxy S22"}), recorder.selections);
  EXPECT_EQ("Galaxy S22", combo.GetText());
  EXPECT_EQ(2, combo.GetCurSel());
  EXPECT_FALSE(combo.IsOpen());
}

TEST_F(ComboBoxTest, EmptyListOpensWithZeroHeightAndTheNextPressClosesIt) {
  combo.ResetContent();
  Open();
  RECT list{};
  combo.List().GetWindowRect(&list);
  EXPECT_EQ(0, list.bottom - list.top);
  PressAt(parent, POINT{450, 350});
  EXPECT_FALSE(combo.List().IsWindow());
  EXPECT_FALSE(combo.IsOpen());
  // Selecting outside the items empties the text.
  EXPECT_EQ(0, combo.SetCurSel(0));
  EXPECT_EQ(0, combo.GetCurSel());
  EXPECT_EQ("", combo.GetText());
}

}  // namespace
