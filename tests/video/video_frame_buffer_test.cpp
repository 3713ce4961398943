#include "video/video_frame_buffer.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "tests/video/section_reader_run.h"
#include "tests/video/test_pictures.h"

namespace {

constexpr Rgb kRed{230, 20, 20}, kGreen{20, 220, 30}, kBlue{25, 30, 230}, kYellow{240, 230, 20};

std::string Describe(Rgb c) {
  return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

// Four quadrants of four colours: top-left red, top-right green, bottom-left
// blue, bottom-right yellow.
Rgb Quadrants(int w, int h, int y, int x) {
  const bool right = x >= w / 2, bottom = y >= h / 2;
  return bottom ? (right ? kYellow : kBlue) : (right ? kGreen : kRed);
}

// Pushes one picture and takes the frame it became.
std::unique_ptr<VideoFrame> Convert(VideoFrameBuffer& fb, const AVFrame* picture) {
  fb.OnFrame(picture);
  return fb.TakeFrame();
}

// Where input pixel (y, x) of a W x H picture lands: its output row or column.
using Map = int (*)(int W, int H, int y, int x);
int InputRow(int, int, int y, int) {
  return y;
}
int InputColumn(int, int, int, int x) {
  return x;
}
int FlippedRow(int, int H, int y, int) {
  return H - 1 - y;
}
int MirroredColumn(int W, int, int, int x) {
  return W - 1 - x;
}

struct TableCase {
  const char* name;
  Map row, col;
};

// Checks every output pixel against the mapping: the coordinate colour of
// the input tells which input pixel landed there.
void ExpectMapping(const VideoFrame& frame, int W, int H, const TableCase& t) {
  int bad = 0;
  for (int r = 0; r < frame.height(); ++r)
    for (int c = 0; c < frame.width(); ++c) {
      int y, x;
      DecodeCoordinate(PixelAt(frame, r, c), &y, &x);
      const bool ok = y < H && x < W && t.row(W, H, y, x) == r && t.col(W, H, y, x) == c;
      if (!ok && ++bad <= 3)
        ADD_FAILURE() << t.name << ": output (" << r << "," << c << ") holds input (" << y << "," << x << ")";
    }
  EXPECT_EQ(bad, 0) << t.name;
}

struct ColourAt {
  int row, col;
  Rgb colour;
};

// Each listed output pixel is within `tolerance` of its colour.
void ExpectColours(const VideoFrame& frame, std::initializer_list<ColourAt> points, int tolerance) {
  for (const ColourAt& p : points)
    EXPECT_TRUE(Near(PixelAt(frame, p.row, p.col), p.colour, tolerance))
        << "(" << p.row << "," << p.col << ") is " << Describe(PixelAt(frame, p.row, p.col)) << ", expected "
        << Describe(p.colour);
}

// How many sampled pixels (every 7th row, every 5th column) are not `colour`.
int PixelsNotNear(const VideoFrame& frame, Rgb colour, int tolerance) {
  int off = 0;
  for (int r = 0; r < frame.height(); r += 7)
    for (int c = 0; c < frame.width(); c += 5) off += Near(PixelAt(frame, r, c), colour, tolerance) ? 0 : 1;
  return off;
}

// A W x H coordinate picture through a buffer set up with the phone's flags
// (reverse_v, reverse_h), the user's toggles (mirror, flip) and the output
// mode; `mapping` says where each input pixel must land.
struct MappingCase {
  TableCase mapping;
  int width, height;
  int phoneFlip, phoneMirror;
  int userMirror, userFlip;
  bool portrait;
};

class VideoFrameBufferMapping : public ::testing::TestWithParam<MappingCase> {};

TEST_P(VideoFrameBufferMapping, EveryOutputPixelComesFromTheExpectedInputPixel) {
  const MappingCase& t = GetParam();
  AvFramePtr pic = MakeRgbPicture(t.width, t.height, CoordinateColour);
  VideoFrameBuffer fb;
  fb.SetReverse(t.phoneFlip, t.phoneMirror);
  fb.SetUserFlip(t.userMirror, t.userFlip);
  fb.SetPortrait(t.portrait);
  auto frame = Convert(fb, pic.get());
  ASSERT_TRUE(frame);
  const int outWidth = t.portrait ? 720 : 1280, outHeight = t.portrait ? 1280 : 720;
  ASSERT_EQ(frame->width(), outWidth);
  ASSERT_EQ(frame->height(), outHeight);
  EXPECT_EQ(frame->size(), outWidth * outHeight * 3);
  ExpectMapping(*frame, t.width, t.height, t.mapping);
}

// A picture 240 rows taller than the output is cut by equal bands, not
// scaled: output row r is exactly input row r + 120.
int CroppedRow(int, int, int y, int) {
  return y - 120;
}

// The orientation table in landscape mode, then the cases around it. Without
// rotation: a landscape picture and the phone's flags. With rotation: a
// portrait picture and the user's toggles alone (the input's column becomes
// the output row, its row the output column).
INSTANTIATE_TEST_SUITE_P(
    OrientationTable, VideoFrameBufferMapping,
    ::testing::Values(
        MappingCase{{"plain", InputRow, InputColumn}, 1280, 720, 0, 0, 0, 0, false},
        MappingCase{{"flip", FlippedRow, InputColumn}, 1280, 720, 1, 0, 0, 0, false},
        MappingCase{{"mirror", InputRow, MirroredColumn}, 1280, 720, 0, 1, 0, 0, false},
        MappingCase{{"flip_mirror", FlippedRow, MirroredColumn}, 1280, 720, 1, 1, 0, 0, false},
        MappingCase{{"clockwise", InputColumn, FlippedRow}, 720, 1280, 0, 0, 0, 0, false},
        MappingCase{{"rotated_flip", MirroredColumn, FlippedRow}, 720, 1280, 0, 0, 0, 1, false},
        MappingCase{{"rotated_mirror", InputColumn, InputRow}, 720, 1280, 0, 0, 1, 0, false},
        MappingCase{{"anticlockwise", MirroredColumn, InputRow}, 720, 1280, 0, 0, 1, 1, false},
        MappingCase{{"user_mirror_undoes_phones", InputRow, InputColumn}, 1280, 720, 0, 1, 1, 0, false},
        MappingCase{{"tall_cropped_by_bands", CroppedRow, InputColumn}, 1280, 960, 0, 0, 0, 0, false},
        MappingCase{{"portrait_mode_unturned", InputRow, InputColumn}, 720, 1280, 0, 0, 0, 0, true}),
    [](const ::testing::TestParamInfo<MappingCase>& info) { return std::string(info.param.mapping.name); });

// With the preview's client size known, each frame carries the picture at
// the size the preview fits it to (the scaler's side rounded to even),
// turned like the frame; without it, none.
TEST(VideoFrameBuffer, FramesCarryAPreviewCopyOfTheFittedSize) {
  AvFramePtr pic = MakeRgbPicture(1920, 1080, [](int y, int x) { return Quadrants(1920, 1080, y, x); });
  struct {
    bool portrait;
    int width, height;
    ColourAt topLeft, bottomRight;
  } cases[] = {{false, 726, 408, {10, 10, kRed}, {398, 716, kYellow}},
               {true, 293, 522, {10, 10, kBlue}, {512, 283, kGreen}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.portrait);
    VideoFrameBuffer fb;
    fb.SetPortrait(c.portrait);
    fb.SetPreviewArea(727, 522);
    auto frame = Convert(fb, pic.get());
    ASSERT_TRUE(frame && frame->preview());
    EXPECT_EQ(frame->preview()->width(), c.width);
    EXPECT_EQ(frame->preview()->height(), c.height);
    ExpectColours(*frame->preview(), {c.topLeft, c.bottomRight}, 8);
  }
  VideoFrameBuffer none;
  auto frame = Convert(none, pic.get());
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->preview(), nullptr);
}

// Pictures arriving faster than the preview takes them: each reaches the
// section as it arrives, the preview gets only the newest, and a frame is
// handed out as new once.
TEST(VideoFrameBuffer, PreviewTakesTheNewestAndEachPictureIsPublishedOnce) {
  FrameSection section(UniqueSectionName("newest"));
  VideoFrameBuffer fb(&section);
  std::vector<AvFramePtr> pics;
  for (uint8_t v : {10, 11, 12, 13})
    pics.push_back(MakeRgbPicture(1280, 720, [v](int, int) { return Rgb{v, v, v}; }));
  for (int i = 0; i < 3; ++i) {
    fb.OnFrame(pics[i].get());
    EXPECT_EQ(section.published(), static_cast<uint32_t>(i + 1)) << "published before any take";
  }
  auto newest = fb.TakeFrame();
  ASSERT_TRUE(newest);
  EXPECT_EQ(PixelAt(*newest, 0, 0).r, 12) << "the older untaken frames were skipped";
  EXPECT_EQ(fb.TakeFrame(), nullptr) << "nothing new since the last take";
  EXPECT_EQ(fb.DroppedFrames(), 2u);

  fb.OnFrame(pics[3].get());
  auto next = fb.TakeFrame();
  ASSERT_TRUE(next);
  EXPECT_EQ(PixelAt(*next, 0, 0).r, 13);
  EXPECT_EQ(section.published(), 4u);

  // Reset frees the untaken frame without counting it as skipped.
  fb.OnFrame(pics[0].get());
  fb.Reset();
  EXPECT_EQ(fb.TakeFrame(), nullptr);
  EXPECT_EQ(fb.DroppedFrames(), 2u);
}

TEST(VideoFrameBuffer, PortraitSwitchAppliesFromTheNextPicture) {
  VideoFrameBuffer fb;
  AvFramePtr landscape = MakeRgbPicture(1280, 720, [](int y, int x) { return Quadrants(1280, 720, y, x); });
  fb.OnFrame(landscape.get());
  fb.SetPortrait(true);

  auto before = fb.TakeFrame();
  ASSERT_TRUE(before);
  EXPECT_EQ(before->width(), 1280) << "a frame made before the switch keeps its size";
  EXPECT_EQ(before->height(), 720);
  auto after = Convert(fb, landscape.get());
  ASSERT_TRUE(after);
  EXPECT_EQ(after->width(), 720);
  EXPECT_EQ(after->height(), 1280);
  // The landscape picture is turned clockwise into the portrait output:
  // its top-left red quadrant ends up on the top right.
  ExpectColours(*after, {{20, 700, kRed}, {1260, 20, kYellow}}, 0);
}

// A frame handed back is used again for the next picture of its size, and
// painted over completely; one of the other orientation's size is not.
TEST(VideoFrameBuffer, RecycledFrameIsReusedAndFullyRepainted) {
  VideoFrameBuffer fb;
  AvFramePtr red = MakeRgbPicture(1920, 1080, [](int, int) { return kRed; });
  AvFramePtr blue = MakeRgbPicture(1280, 720, [](int, int) { return kBlue; });
  auto first = Convert(fb, red.get());
  ASSERT_TRUE(first);
  const HBITMAP firstBitmap = first->bitmap();
  fb.Recycle(std::move(first));
  auto second = Convert(fb, blue.get());
  ASSERT_TRUE(second);
  EXPECT_EQ(second->bitmap(), firstBitmap) << "the spare frame's memory is used again";
  EXPECT_EQ(PixelsNotNear(*second, kBlue, 0), 0);

  fb.Recycle(std::move(second));
  fb.SetPortrait(true);
  auto portrait = Convert(fb, blue.get());
  ASSERT_TRUE(portrait);
  EXPECT_EQ(portrait->width(), 720);
  EXPECT_EQ(portrait->height(), 1280);
  fb.Recycle(nullptr);  // ignored
}

}  // namespace
