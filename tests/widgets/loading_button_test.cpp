// LoadingButton: the spinner's rotation per tick and the label's position.
#include "widgets/loading_button.h"

#include <gtest/gtest.h>

#include "tests/widgets/widget_test_support.h"

namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

// An 18 x 18 icon that is opaque red in its top-left quarter only, so a
// quarter turn moves the red to the top-right.
GpImagePtr QuarterIcon() {
  GpBitmap* bitmap = nullptr;
  EXPECT_EQ(Ok, GdipCreateBitmapFromScan0(18, 18, 0, PixelFormat32bppARGB, nullptr, &bitmap));
  for (UINT y = 0; y < 18; ++y)
    for (UINT x = 0; x < 18; ++x) GdipBitmapSetPixel(bitmap, x, y, x < 9 && y < 9 ? 0xFFFF0000 : 0x00000000);
  return GpImagePtr(bitmap);
}

class LoadingButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RECT rc{10, 10, 106, 46};  // 96 x 36
    ASSERT_TRUE(button.Create(parent, rc, nullptr, WS_CHILD | WS_VISIBLE, 0, 1));
    button.SetText("马上连接");
    button.SetTextColor(RGB(0, 0, 0));
  }
  void DrawButton(Canvas& canvas) {
    canvas.Fill(RGB(255, 255, 255));
    button.Draw(canvas.dc(), scratch.get());
  }
  TestParent parent;
  LoadingButton button;
  ScratchDC scratch;
};

TEST_F(LoadingButtonTest, LabelAndSpinnerPlacesAndTheSpinnerTurnsTenDegreesPerTick) {
  Canvas canvas(96, 36);
  DrawButton(canvas);
  int left = canvas.InkBounds(RGB(255, 255, 255)).left;
  EXPECT_GE(left, 13) << "without a spinner the label starts 13 pixels in";
  EXPECT_LE(left, 15) << "a glyph's left bearing is at most a pixel or two";

  button.SetSpinner(QuarterIcon(), true);
  EXPECT_EQ(0, button.GetAngle());
  for (int tick = 1; tick <= 9; ++tick) {
    button.SendMessage(WM_TIMER, LoadingButton::kSpinTimer);
    EXPECT_EQ(10 * tick, button.GetAngle());
  }
  // Icon at (13, 9): a quarter turn clockwise about its centre moves the red
  // quarter from the top-left to the top-right.
  DrawButton(canvas);
  EXPECT_NE(RGB(255, 0, 0), canvas.Pixel(13 + 3, 9 + 3));
  EXPECT_EQ(RGB(255, 0, 0), canvas.Pixel(13 + 14, 9 + 3));

  button.SetSpinner(QuarterIcon(), false);
  EXPECT_EQ(0, button.GetAngle());
  EXPECT_FALSE(KillTimer(button, LoadingButton::kSpinTimer)) << "timer 2 is stopped";
  DrawButton(canvas);
  EXPECT_EQ(RGB(255, 0, 0), canvas.Pixel(13 + 3, 9 + 3));
  EXPECT_EQ(RGB(255, 0, 0), canvas.Pixel(13, 9));
  EXPECT_NE(RGB(255, 0, 0), canvas.Pixel(13 + 14, 9 + 3));
  // The label starts 18 pixels right of the icon's width.
  FillSolid(canvas.dc(), RECT{0, 0, 13 + 18, 36}, RGB(255, 255, 255));  // the spinner's place
  EXPECT_GE(canvas.InkBounds(RGB(255, 255, 255)).left, 36);
}

}  // namespace
