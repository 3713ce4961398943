// The frame buffer scales in swscale, once, straight from the decoder's YUV
// to the output size. Its reference is the way the output used to be made:
// the whole picture turned into a DIB and stretched by GDI with HALFTONE into
// the fill-and-crop placement. The mean difference stays small, and the
// geometry is exact: steps in the picture land where the placement draws
// them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
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
// bands, whose edges move the mean difference by more than the bound when
// the picture is shifted by a pixel.
Rgb Scene(int w, int h, int y, int x) {
  const bool band = (x / 96 + y / 80) % 5 == 0;
  return Rgb{static_cast<uint8_t>(40 + 150 * x / w), static_cast<uint8_t>(30 + 170 * y / h),
             static_cast<uint8_t>(band ? 220 : 60)};
}

// A grey picture with one step across its width at `ex` and one down its
// height at `ey`.
Rgb Steps(int ex, int ey, int y, int x) {
  const uint8_t v = static_cast<uint8_t>(40 + (x >= ex ? 100 : 0) + (y >= ey ? 60 : 0));
  return Rgb{v, v, v};
}

// The picture as the decoder hands it over: YUV 4:2:0.
AvFramePtr ToYuv420(const AVFrame* rgb) {
  AvFramePtr yuv(av_frame_alloc());
  yuv->width = rgb->width;
  yuv->height = rgb->height;
  yuv->format = AV_PIX_FMT_YUV420P;
  SwsContext* s = sws_getContext(rgb->width, rgb->height, AV_PIX_FMT_RGB24, rgb->width, rgb->height,
                                 AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
  if (!s || av_frame_get_buffer(yuv.get(), 32) < 0) return nullptr;
  sws_scale(s, rgb->data, rgb->linesize, 0, rgb->height, yuv->data, yuv->linesize);
  sws_freeContext(s);
  return yuv;
}

// The reference output: the YUV picture converted at its own size, oriented
// into a DIB and stretched with HALFTONE into the fill placement.
std::unique_ptr<VideoFrame> GdiReference(const AVFrame* yuv, const Orientation& o, int tw, int th) {
  RgbConverter whole(AV_PIX_FMT_BGR24);
  const AVFrame* rgb = whole.Convert(yuv);
  int ow, oh;
  OrientedSize(yuv->width, yuv->height, o, &ow, &oh);
  auto oriented = VideoFrame::Create(ow, oh);
  auto out = VideoFrame::Create(tw, th);
  if (!rgb || !oriented || !out) return nullptr;
  OrientToBottomUp(rgb->data[0], rgb->width, rgb->height, rgb->linesize[0], o, oriented->bits(),
                   oriented->stride());
  const FillPlacement p = ComputeFillPlacement(ow, oh, tw, th);
  ScratchDC src, dst;
  SelectScope a(src.get(), oriented->bitmap()), b(dst.get(), out->bitmap());
  SetStretchBltMode(dst.get(), HALFTONE);
  SetBrushOrgEx(dst.get(), 0, 0, nullptr);
  StretchBlt(dst.get(), p.left, p.top, p.width, p.height, src.get(), 0, 0, ow, oh, SRCCOPY);
  GdiFlush();
  return out;
}

double MeanAbsoluteDifference(const VideoFrame& a, const VideoFrame& b) {
  double sum = 0;
  for (int r = 0; r < a.height(); ++r)
    for (int c = 0; c < a.width(); ++c) {
      const Rgb u = PixelAt(a, r, c), v = PixelAt(b, r, c);
      sum += std::abs(u.r - v.r) + std::abs(u.g - v.g) + std::abs(u.b - v.b);
    }
  return sum / (3.0 * a.width() * a.height());
}

// Where the step along a line of the frame (a row near the top, or a column
// near the left, clear of the other step) crosses halfway between its two
// plateaus, in continuous pixel coordinates (pixel i spans [i, i + 1)).
double StepPosition(const VideoFrame& f, bool across) {
  std::vector<int> v;
  for (int i = 0; i < (across ? f.width() : f.height()); ++i)
    v.push_back((across ? PixelAt(f, f.height() / 16, i) : PixelAt(f, i, f.width() / 16)).g);
  const double mid = (v.front() + v.back()) / 2.0;
  for (size_t i = 0; i + 1 < v.size(); ++i)
    if ((v[i] - mid) * (v[i + 1] - mid) <= 0 && v[i] != v[i + 1])
      return i + 0.5 + (mid - v[i]) / (v[i + 1] - v[i]);
  return -1;
}

struct ScalingCase {
  const char* name;
  int width, height;
  bool portraitOutput;
  int phoneFlip, phoneMirror;
};

class FrameScaling : public ::testing::TestWithParam<ScalingCase> {
 protected:
  // The YUV version of `pixel` through a frame buffer set up for the case.
  std::unique_ptr<VideoFrame> Render(const std::function<Rgb(int y, int x)>& pixel) {
    const ScalingCase& t = GetParam();
    yuv_ = ToYuv420(MakeRgbPicture(t.width, t.height, pixel).get());
    VideoFrameBuffer fb;
    fb.SetReverse(t.phoneFlip, t.phoneMirror);
    fb.SetPortrait(t.portraitOutput);
    if (yuv_) fb.OnFrame(yuv_.get());
    return fb.TakeFrame();
  }
  AvFramePtr yuv_;
};

// Within the error bound of the GDI stretch; and the two steps of the step
// picture land exactly where the fill placement draws those source
// positions, turned and mirrored with the picture.
TEST_P(FrameScaling, MatchesTheGdiStretchAndThePlacementGeometry) {
  const ScalingCase& t = GetParam();
  const int tw = t.portraitOutput ? 720 : 1280, th = t.portraitOutput ? 1280 : 720;
  const Orientation o =
      ChooseOrientation(t.width, t.height, t.portraitOutput, t.phoneFlip, t.phoneMirror, 0, 0);

  auto frame = Render([&](int y, int x) { return Scene(t.width, t.height, y, x); });
  ASSERT_TRUE(frame);
  ASSERT_EQ(frame->width(), tw);
  ASSERT_EQ(frame->height(), th);
  auto reference = GdiReference(yuv_.get(), o, tw, th);
  ASSERT_TRUE(reference);
  const double mad = MeanAbsoluteDifference(*frame, *reference);
  std::printf("%s: mean absolute difference %.2f\n", t.name, mad);
  EXPECT_LT(mad, 2.0) << "mean absolute difference per channel";

  const int ex = t.width * 3 / 8, ey = t.height * 5 / 8;
  auto steps = Render([&](int y, int x) { return Steps(ex, ey, y, x); });
  ASSERT_TRUE(steps);
  int ow, oh;
  OrientedSize(t.width, t.height, o, &ow, &oh);
  const FillPlacement p = ComputeFillPlacement(ow, oh, tw, th);
  // Each source step as an oriented position: across (a column boundary) or down (a row boundary).
  const double xStep = o.rotated ? (o.flip ? t.width - ex : ex) : (o.mirror ? t.width - ex : ex);
  const double yStep = o.rotated ? (o.mirror ? ey : t.height - ey) : (o.flip ? t.height - ey : ey);
  auto drawnAt = [&](double at, bool across) {
    return across ? p.left + at * p.width / ow : p.top + at * p.height / oh;
  };
  EXPECT_NEAR(StepPosition(*steps, !o.rotated), drawnAt(xStep, !o.rotated), 0.5)
      << "the step across the width";
  EXPECT_NEAR(StepPosition(*steps, o.rotated), drawnAt(yStep, o.rotated), 0.5) << "the step down the height";
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
