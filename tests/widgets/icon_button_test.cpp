// CIconButton: clicks on any release, and parent-drawn buttons that hide.
#include "widgets/icon_button.h"

#include <gtest/gtest.h>

#include "resources/picture_ids.h"
#include "tests/widgets/widget_test_support.h"

namespace {

constexpr UINT kId = 3;
constexpr COLORREF kNormalText = RGB(0x20, 0x90, 0x30);
constexpr COLORREF kHotText = RGB(0xFA, 0x6C, 0x9C);
constexpr COLORREF kPressedText = RGB(0x7E, 0x52, 0xD6);

class IconButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RECT rc{20, 30, 110, 52};
    ASSERT_TRUE(button.Create(parent, rc, nullptr, WS_CHILD | WS_VISIBLE, 0, kId));
    button.SetImages(IDB_FLIP_VERTICAL_NORMAL, IDB_FLIP_VERTICAL_HOT, IDB_FLIP_VERTICAL_PRESSED,
                     IDB_FLIP_VERTICAL_NORMAL);
    button.SetText("垂直翻转");
    button.SetFontSize(12);
    button.SetIconGap(6);
    button.SetTextColors(kNormalText, kHotText, kPressedText, RGB(0, 0, 0));
  }
  TestParent parent;
  CIconButton button;
  ScratchDC scratch;
};

TEST_F(IconButtonTest, ReleaseOverItSendsAClickWithoutAPressOnIt) {
  // The press happened on the parent; only the release reaches the button.
  parent.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 200));
  button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  // Sent: the parent handled it before SendMessage returned.
  EXPECT_EQ(std::vector<WPARAM>{MAKEWPARAM(kId, BN_CLICKED)}, parent.delivered);
  EXPECT_TRUE(TakePostedCommands(parent).empty());
  EXPECT_EQ(kStateHot, button.GetState());

  button.SetEnabled(false);
  button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(1u, parent.delivered.size()) << "a disabled button reports nothing";
}

TEST_F(IconButtonTest, ParentDrawnButtonDrawsOnlyWhileVisible) {
  button.SetParentDrawn(true, parent);
  Canvas canvas(200, 100, RGB(20, 20, 20));
  SetBkMode(canvas.dc(), TRANSPARENT);
  button.ShowWindow(SW_HIDE);
  button.Draw(canvas.dc(), scratch.get());
  EXPECT_EQ(0, canvas.CountNot(RGB(20, 20, 20))) << "a hidden overlay button must not show";

  button.ShowWindow(SW_SHOW);
  button.Draw(canvas.dc(), scratch.get());
  POINT origin{-1, -1};
  GetViewportOrgEx(canvas.dc(), &origin);
  EXPECT_TRUE(origin.x == 0 && origin.y == 0) << "the parent's viewport is left as it was";
  EXPECT_GT(canvas.CountNot(RGB(20, 20, 20)), 40) << "icon and text appear";
  // Everything drawn lies inside the button's place in the parent (20, 30)-(110, 52).
  RECT ink = canvas.InkBounds(RGB(20, 20, 20));
  EXPECT_TRUE(ink.left >= 20 && ink.top >= 30 && ink.right <= 110 && ink.bottom <= 52);
  // The 22 x 22 icon sits at the left edge, vertically centred: (20, 30).
  Canvas reference(200, 100, RGB(20, 20, 20));
  BlendPngReference(reference.dc(), IDB_FLIP_VERTICAL_NORMAL, 20, 30, 255);
  for (int y = 30; y < 52; ++y)
    for (int x = 20; x < 42; ++x) ASSERT_EQ(reference.Pixel(x, y), canvas.Pixel(x, y)) << x << "," << y;
}

TEST_F(IconButtonTest, LabelTakesTheColourOfTheState) {
  struct Step {
    const char* name;
    UINT message;  // 0: none, the button is at rest
    int state;
    COLORREF colour;
  } steps[] = {
      {"normal", 0, kStateNormal, kNormalText},
      {"hot", WM_MOUSEMOVE, kStateHot, kHotText},
      {"pressed", WM_LBUTTONDOWN, kStatePressed, kPressedText},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    if (step.message) button.SendMessage(step.message, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(step.state, button.GetState());
    Canvas canvas(90, 22);
    SetBkMode(canvas.dc(), TRANSPARENT);
    button.Draw(canvas.dc(), scratch.get());
    // The text starts after the icon (22) and the gap (6).
    for (COLORREF colour : {kNormalText, kHotText, kPressedText}) {
      int count = 0;
      for (int y = 0; y < 22; ++y)
        for (int x = 28; x < 90; ++x) count += canvas.Pixel(x, y) == colour;
      EXPECT_EQ(colour == step.colour, count > 0) << std::hex << colour;
    }
  }
}

}  // namespace
