// The frame buffer scales in swscale, once, straight from the decoder's YUV
// to the output size. Its reference is the way the output used to be made:
// the whole picture turned into a DIB and stretched by GDI with HALFTONE into
// the fill-and-crop placement. Same geometry means the same crop and
// placement: the mean difference stays small and the crop edges fall where
// the reference has them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" {
#include <libswscale/swscale.h>
}

#include "framework/gdi.h"
#include "tests/support/canvas.h"
#include "tests/video/test_pictures.h"
#include "video/core/frame_geometry.h"
#include "video/core/rgb_converter.h"
#include "video/video_frame_buffer.h"

namespace {

// A camera-like picture: smooth gradients under a coarse pattern of bright
// bands (their edges move the mean difference by more than the bound when
// the picture is shifted by one pixel), and a white frame around the edge
// that shows on the sides the crop keeps.
Rgb Scene(int w, int h, int y, int x) {
  if (x < 4 || y < 4 || x >= w - 4 || y >= h - 4) return Rgb{255, 255, 255};
  const bool band = (x / 96 + y / 80) % 5 == 0;
  const int r = 40 + 150 * x / w, g = 30 + 170 * y / h, b = band ? 220 : 60;
  return Rgb{static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)};
}

// The picture as the decoder hands it over: YUV 4:2:0.
AvFramePtr ToYuv420(const AVFrame* rgb) {
  AvFramePtr yuv(av_frame_alloc());
  yuv->width = rgb->width;
  yuv->height = rgb->height;
  yuv->format = AV_PIX_FMT_YUV420P;
  if (av_frame_get_buffer(yuv.get(), 32) < 0) return nullptr;
  SwsContext* s = sws_getContext(rgb->width, rgb->height, AV_PIX_FMT_RGB24, rgb->width, rgb->height,
                                 AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
  if (!s) return nullptr;
  sws_scale(s, rgb->data, rgb->linesize, 0, rgb->height, yuv->data, yuv->linesize);
  sws_freeContext(s);
  return yuv;
}

// The reference output: the YUV picture converted at its own size, oriented
// into a DIB and stretched with HALFTONE into the fill placement.
std::unique_ptr<VideoFrame> GdiReference(const AVFrame* yuv, const Orientation& o, int tw, int th) {
  RgbConverter whole(AV_PIX_FMT_BGR24);
  const AVFrame* rgb = whole.Convert(yuv);
  if (!rgb) return nullptr;
  int ow, oh;
  OrientedSize(rgb->width, rgb->height, o, &ow, &oh);
  auto oriented = VideoFrame::Create(ow, oh);
  auto out = VideoFrame::Create(tw, th);
  if (!oriented || !out) return nullptr;
  OrientToBottomUp(rgb->data[0], rgb->width, rgb->height, rgb->linesize[0], o, oriented->bits(),
                   oriented->stride());
  const FillPlacement p = ComputeFillPlacement(ow, oh, tw, th);
  ScratchDC src, dst;
  {
    SelectScope a(src.get(), oriented->bitmap()), b(dst.get(), out->bitmap());
    SetStretchBltMode(dst.get(), HALFTONE);
    SetBrushOrgEx(dst.get(), 0, 0, nullptr);
    if (!StretchBlt(dst.get(), p.left, p.top, p.width, p.height, src.get(), 0, 0, ow, oh, SRCCOPY))
      return nullptr;
  }
  GdiFlush();
  return out;
}

// Mean absolute difference per channel between `a` and `b` moved by (dy,
// dx), over the pixels that stay inside both.
double MeanAbsoluteDifference(const VideoFrame& a, const VideoFrame& b, int dy = 0, int dx = 0) {
  double sum = 0;
  long count = 0;
  for (int r = 1; r < a.height() - 1; ++r)
    for (int c = 1; c < a.width() - 1; ++c) {
      const Rgb u = PixelAt(a, r, c), v = PixelAt(b, r + dy, c + dx);
      sum += std::abs(u.r - v.r) + std::abs(u.g - v.g) + std::abs(u.b - v.b);
      ++count;
    }
  return sum / (3.0 * count);
}

// Where a step in `values` crosses halfway between its two plateaus, in
// continuous pixel coordinates (pixel i spans [i, i + 1)).
double StepPosition(const std::vector<int>& values) {
  const double low = values.front(), high = values.back(), mid = (low + high) / 2;
  for (size_t i = 0; i + 1 < values.size(); ++i)
    if ((values[i] - mid) * (values[i + 1] - mid) <= 0 && values[i] != values[i + 1])
      return i + 0.5 + (mid - values[i]) / (values[i + 1] - values[i]);
  return -1;
}

// Output columns (or rows) whose middle pixel shows the white frame: where
// the crop left an edge of the picture.
std::string WhiteEdges(const VideoFrame& f) {
  std::string edges;
  auto white = [](Rgb c) { return c.r > 200 && c.g > 200 && c.b > 200; };
  if (white(PixelAt(f, 0, f.width() / 2))) edges += "top ";
  if (white(PixelAt(f, f.height() - 1, f.width() / 2))) edges += "bottom ";
  if (white(PixelAt(f, f.height() / 2, 0))) edges += "left ";
  if (white(PixelAt(f, f.height() / 2, f.width() - 1))) edges += "right ";
  return edges;
}

struct ScalingCase {
  const char* name;
  int width, height;
  bool portraitOutput;
  int phoneFlip, phoneMirror;
};

class FrameScaling : public ::testing::TestWithParam<ScalingCase> {};

TEST_P(FrameScaling, MatchesTheGdiStretchWithinTheErrorBound) {
  const ScalingCase& t = GetParam();
  AvFramePtr rgb =
      MakeRgbPicture(t.width, t.height, [&](int y, int x) { return Scene(t.width, t.height, y, x); });
  AvFramePtr yuv = ToYuv420(rgb.get());
  ASSERT_TRUE(yuv);

  VideoFrameBuffer fb;
  fb.SetReverse(t.phoneFlip, t.phoneMirror);
  fb.SetPortrait(t.portraitOutput);
  fb.OnFrame(yuv.get());
  auto frame = fb.TakeFrame();
  ASSERT_TRUE(frame);
  const int tw = t.portraitOutput ? 720 : 1280, th = t.portraitOutput ? 1280 : 720;
  ASSERT_EQ(frame->width(), tw);
  ASSERT_EQ(frame->height(), th);

  const Orientation o =
      ChooseOrientation(t.width, t.height, t.portraitOutput, t.phoneFlip, t.phoneMirror, 0, 0);
  auto reference = GdiReference(yuv.get(), o, tw, th);
  ASSERT_TRUE(reference);
  const double mad = MeanAbsoluteDifference(*frame, *reference);
  std::printf("%s: mean absolute difference %.2f\n", t.name, mad);
  EXPECT_LT(mad, 2.0) << "mean absolute difference per channel";
  EXPECT_EQ(WhiteEdges(*frame), WhiteEdges(*reference)) << "the crop keeps the same edges";
}

// A grey picture with one step across its width at 3/8 and one down its
// height at 5/8: each step lands in the output exactly where the fill
// placement draws that source position, turned and mirrored with the picture.
TEST_P(FrameScaling, StepsLandWhereThePlacementDrawsThem) {
  const ScalingCase& t = GetParam();
  const int ex = t.width * 3 / 8, ey = t.height * 5 / 8;
  AvFramePtr rgb = MakeRgbPicture(t.width, t.height, [&](int y, int x) {
    const uint8_t v = static_cast<uint8_t>(40 + (x >= ex ? 100 : 0) + (y >= ey ? 60 : 0));
    return Rgb{v, v, v};
  });
  AvFramePtr yuv = ToYuv420(rgb.get());
  ASSERT_TRUE(yuv);
  VideoFrameBuffer fb;
  fb.SetReverse(t.phoneFlip, t.phoneMirror);
  fb.SetPortrait(t.portraitOutput);
  fb.OnFrame(yuv.get());
  auto frame = fb.TakeFrame();
  ASSERT_TRUE(frame);

  const Orientation o =
      ChooseOrientation(t.width, t.height, t.portraitOutput, t.phoneFlip, t.phoneMirror, 0, 0);
  int ow, oh;
  OrientedSize(t.width, t.height, o, &ow, &oh);
  const FillPlacement p = ComputeFillPlacement(ow, oh, frame->width(), frame->height());
  // Each source step as an oriented position: across (a column boundary) or down (a row boundary).
  const double xStep = o.rotated ? (o.flip ? t.width - ex : ex) : (o.mirror ? t.width - ex : ex);
  const double yStep = o.rotated ? (o.mirror ? ey : t.height - ey) : (o.flip ? t.height - ey : ey);
  const bool xAcross = !o.rotated;
  auto expectAt = [&](double oriented, bool across, const char* which) {
    const double expected = across ? p.left + oriented * p.width / ow : p.top + oriented * p.height / oh;
    std::vector<int> profile;
    const int n = across ? frame->width() : frame->height();
    for (int i = 0; i < n; ++i) {
      // Sampled along a line near the edge of the frame, clear of the other step.
      const Rgb c =
          across ? PixelAt(*frame, frame->height() / 16, i) : PixelAt(*frame, i, frame->width() / 16);
      profile.push_back(c.g);
    }
    EXPECT_NEAR(StepPosition(profile), expected, 0.5) << which;
  };
  expectAt(xStep, xAcross, "the step across the source's width");
  expectAt(yStep, !xAcross, "the step down the source's height");
}

// Scaled without crop, cropped in bands and scaled, turned into either
// output, and flipped by the phone (the crop counted from the other end).
INSTANTIATE_TEST_SUITE_P(Cases, FrameScaling,
                         ::testing::Values(ScalingCase{"full_hd", 1920, 1080, false, 0, 0},
                                           ScalingCase{"four_by_three", 1440, 1080, false, 0, 0},
                                           ScalingCase{"portrait_phone_turned", 1080, 1920, false, 0, 0},
                                           ScalingCase{"portrait_output", 1920, 1080, true, 0, 0},
                                           ScalingCase{"tall_flipped_mirrored", 1080, 1600, true, 1, 1},
                                           ScalingCase{"wide_cropped_sideways", 1920, 800, false, 1, 1},
                                           ScalingCase{"turned_cropped_flipped", 1080, 1600, false, 1, 1}),
                         [](const ::testing::TestParamInfo<ScalingCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(FrameScaling, PicturesThatCannotBeConvertedAreIgnored) {
  VideoFrameBuffer fb;
  fb.OnFrame(nullptr);
  AvFramePtr palette(av_frame_alloc());
  palette->width = 64;
  palette->height = 48;
  palette->format = AV_PIX_FMT_PAL8;
  ASSERT_GE(av_frame_get_buffer(palette.get(), 1), 0);
  fb.OnFrame(palette.get());
  EXPECT_EQ(fb.TakeFrame(), nullptr);
}

}  // namespace
