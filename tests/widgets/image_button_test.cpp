// ImageButton driven with real window messages; pictures read back from
// memory DCs.
#include "widgets/image_button.h"

#include <gtest/gtest.h>

#include "resources/picture_ids.h"
#include "tests/widgets/widget_test_support.h"

namespace {

constexpr UINT kId = 2;
constexpr WPARAM kClick = MAKEWPARAM(kId, BN_CLICKED);

class ImageButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RECT rc{10, 10, 44, 44};
    ASSERT_TRUE(button.Create(parent, rc, nullptr, WS_CHILD | WS_VISIBLE, 0, kId));
    button.SetImages(IDB_CLOSE_NORMAL, IDB_CLOSE_HOT, IDB_CLOSE_PRESSED, IDB_CLOSE_NORMAL);
    TakePostedCommands(parent);
  }
  // What the button shows now, on a white 34 x 34 canvas.
  void DrawButton(Canvas& canvas) {
    canvas.Fill(RGB(255, 255, 255));
    button.Draw(canvas.dc(), scratch.get());
  }
  void Tick(int times) {
    for (int i = 0; i < times; ++i) button.SendMessage(WM_TIMER, ImageButton::kFadeTimer);
  }
  TestParent parent;
  ImageButton button;
  ScratchDC scratch;
};

TEST_F(ImageButtonTest, PressAndReleasePostsOneClickAndAFastDoubleClickToo) {
  button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(kStatePressed, button.GetState());
  button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(kStateHot, button.GetState());
  // The second press of a fast double click arrives as WM_LBUTTONDBLCLK
  // (the class has CS_DBLCLKS), which the button leaves alone.
  button.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  // Posted, not sent: nothing reached the parent yet, one click waits in the queue.
  EXPECT_TRUE(parent.delivered.empty());
  EXPECT_EQ(std::vector<WPARAM>{kClick}, TakePostedCommands(parent));
}

TEST_F(ImageButtonTest, NoClickForALostPressNorWhileDisabledAndReturnIsSentWhenEnabled) {
  button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  button.SendMessage(WM_MOUSELEAVE);
  // Without capture the release goes to the window under the pointer.
  parent.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
  EXPECT_EQ(kStateNormal, button.GetState());
  Tick(6);
  EXPECT_FALSE(button.IsFading());
  // Coming back and releasing over it is still no click: the press was lost.
  button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));

  button.SetEnabled(false);
  button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  button.SendMessage(WM_KEYDOWN, VK_RETURN);
  EXPECT_TRUE(TakePostedCommands(parent).empty());
  EXPECT_TRUE(parent.delivered.empty());
  button.SetEnabled(true);
  EXPECT_FALSE(button.IsDisabled());
  button.EnableWindow(FALSE);  // the window's own enabled state gives the same look
  EXPECT_TRUE(button.IsDisabled());
  button.EnableWindow(TRUE);
  button.SendMessage(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(std::vector<WPARAM>{kClick}, parent.delivered);
}

TEST_F(ImageButtonTest, EnteringFadesInTheHotPictureOverSixTicks) {
  Canvas normal(34, 34), hot(34, 34), shown(34, 34);
  BlendPngReference(normal.dc(), IDB_CLOSE_NORMAL, 0, 0, 255);
  BlendPngReference(hot.dc(), IDB_CLOSE_HOT, 0, 0, 255);
  ASSERT_FALSE(normal.SameAs(hot)) << "the hot picture must differ visibly";

  DrawButton(shown);
  EXPECT_TRUE(shown.SameAs(normal));
  button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(kStateHot, button.GetState());
  EXPECT_TRUE(button.IsFading());
  EXPECT_EQ(0, button.GetAlpha());

  Tick(3);  // halfway: neither picture alone
  DrawButton(shown);
  EXPECT_FALSE(shown.SameAs(normal));
  EXPECT_FALSE(shown.SameAs(hot));

  Tick(2);
  EXPECT_EQ(250, button.GetAlpha());
  EXPECT_TRUE(button.IsFading());
  Tick(1);
  EXPECT_EQ(255, button.GetAlpha());
  EXPECT_FALSE(button.IsFading());
  EXPECT_FALSE(KillTimer(button, ImageButton::kFadeTimer)) << "the fade timer is stopped";
  DrawButton(shown);
  EXPECT_TRUE(shown.SameAs(hot));

  // A press during the next fade cuts it short and shows the pressed picture.
  button.SendMessage(WM_MOUSELEAVE);
  button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  Tick(1);
  ASSERT_TRUE(button.IsFading());
  button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_FALSE(button.IsFading());
  EXPECT_EQ(255, button.GetAlpha());
  EXPECT_FALSE(KillTimer(button, ImageButton::kFadeTimer));
  Canvas pressed(34, 34);
  BlendPngReference(pressed.dc(), IDB_CLOSE_PRESSED, 0, 0, 255);
  DrawButton(shown);
  EXPECT_TRUE(shown.SameAs(pressed));
}

TEST_F(ImageButtonTest, ParentDrawnButtonPaintsAtItsPlaceInTheParent) {
  button.SetParentDrawn(true, parent);
  Canvas parentCanvas(100, 100);
  button.Draw(parentCanvas.dc(), scratch.get());
  Canvas reference(100, 100);
  BlendPngReference(reference.dc(), IDB_CLOSE_NORMAL, 10, 10, 255);
  EXPECT_TRUE(parentCanvas.SameAs(reference));
}

}  // namespace
