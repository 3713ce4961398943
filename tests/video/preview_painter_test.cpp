// The preview's paint on a memory DC: the picture fitted inside with black
// bars, the idle picture before the first frame, the help link without one.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/canvas.h"
#include "video/preview_painter.h"
#include "video/video_frame.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kPicture = RGB(200, 60, 30);

std::unique_ptr<VideoFrame> SolidFrame(int width, int height, COLORREF color) {
  auto frame = VideoFrame::Create(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = frame->bits() + y * frame->stride() + x * 3;
      p[0] = GetBValue(color);
      p[1] = GetGValue(color);
      p[2] = GetRValue(color);
    }
  return frame;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

struct FitCase {
  const char* name;
  int frameWidth, frameHeight;
  RECT expected;  // in a 400 x 300 client area
};

class PreviewFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(PreviewFit, PictureFillsItsRectangleAndTheRestIsBlack) {
  const FitCase& c = GetParam();
  Canvas canvas(400, 300, RGB(255, 255, 255));
  ScratchDC scratch;
  auto frame = SolidFrame(c.frameWidth, c.frameHeight, kPicture);
  PreviewContent content;
  content.streaming = true;
  content.frame = frame.get();
  PaintPreview(canvas.dc(), scratch.get(), RECT{0, 0, 400, 300}, content);
  const RECT ink = canvas.InkBounds(kBlack);
  EXPECT_TRUE(SameRect(c.expected, ink))
      << ink.left << "," << ink.top << "," << ink.right << "," << ink.bottom;
  const int area = (c.expected.right - c.expected.left) * (c.expected.bottom - c.expected.top);
  EXPECT_EQ(400 * 300 - area, canvas.CountNot(kPicture));
}

INSTANTIATE_TEST_SUITE_P(Frames, PreviewFit,
                         ::testing::Values(FitCase{"Landscape", 1280, 720, RECT{0, 37, 400, 262}},
                                           FitCase{"Portrait", 720, 1280, RECT{116, 0, 284, 300}}),
                         [](const auto& info) { return std::string(info.param.name); });

// A frame that carries a preview copy of the fitted size (or one pixel
// narrower, as the scaler makes it) is copied, centred; a copy of another
// size is ignored and the frame itself stretched.
TEST(PreviewFit, PreviewCopyOfTheFittedSizeIsDrawnInsteadOfTheFrame) {
  constexpr COLORREF kCopy = RGB(20, 180, 90);
  struct {
    int width, height;
    COLORREF shown;
    RECT ink;
  } cases[] = {{400, 225, kCopy, RECT{0, 37, 400, 262}},
               {399, 225, kCopy, RECT{0, 37, 399, 262}},
               {300, 169, kPicture, RECT{0, 37, 400, 262}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    Canvas canvas(400, 300, RGB(255, 255, 255));
    ScratchDC scratch;
    auto frame = SolidFrame(1280, 720, kPicture);
    frame->SetPreview(SolidFrame(c.width, c.height, kCopy));
    PreviewContent content;
    content.streaming = true;
    content.frame = frame.get();
    PaintPreview(canvas.dc(), scratch.get(), RECT{0, 0, 400, 300}, content);
    EXPECT_TRUE(SameRect(canvas.InkBounds(kBlack), c.ink));
    EXPECT_EQ(canvas.Pixel(200, 150), c.shown);
  }
}

// Before the first frame: the idle picture unscaled from the top left (a
// larger picture is cut, not shrunk); without one, the help link's text
// inside its rectangle on black; without a worker, black only.
TEST(PreviewIdle, IdlePictureOrHelpLinkBeforeTheFirstFrame) {
  const RECT client{0, 0, 640, 480};
  ScratchDC scratch;
  auto idle = SolidFrame(800, 600, RGB(20, 120, 220));
  // The idle picture's bottom-right corner, outside the client area, is black.
  for (int y = 0; y < 100; ++y) std::memset(idle->bits() + y * idle->stride() + 700 * 3, 0, 100 * 3);

  Canvas withPicture(640, 480);
  PaintPreview(withPicture.dc(), scratch.get(), client, PreviewContent{true, nullptr, idle->bitmap()});
  EXPECT_EQ(0, withPicture.CountNot(RGB(20, 120, 220)));

  Canvas withoutPicture(640, 480);
  PaintPreview(withoutPicture.dc(), scratch.get(), client, PreviewContent{true, nullptr, nullptr});
  const RECT ink = withoutPicture.InkBounds(kBlack);
  const RECT link = HelpLinkRect(client);
  RECT inside{};
  EXPECT_FALSE(IsRectEmpty(&ink));
  EXPECT_TRUE(IntersectRect(&inside, &ink, &link) && SameRect(inside, ink));

  Canvas noWorker(640, 480);
  PaintPreview(noWorker.dc(), scratch.get(), client, PreviewContent{false, nullptr, idle->bitmap()});
  EXPECT_EQ(0, noWorker.CountNot(kBlack));
}

}  // namespace
