// The shared section seen from another process: the section reader tool
// runs as a child process and reads what FrameSection and the preview wrote.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/support/pump.h"
#include "tests/support/temp_folder.h"
#include "tests/video/section_reader_run.h"
#include "tests/video/test_pictures.h"
#include "video/frame_section.h"
#include "video/player_ctrl.h"
#include "video/stream_worker.h"
#include "widgets/gdiplus_owners.h"

namespace {

std::unique_ptr<VideoFrame> FilledFrame(int width, int height, int seed) {
  auto frame = VideoFrame::Create(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width * 3; ++x)
      frame->bits()[y * frame->stride() + x] = static_cast<uint8_t>(x * 7 + y * 13 + seed);
  return frame;
}

std::string Line(int width, int height, uint32_t sequence) {
  char text[96];
  std::snprintf(text, sizeof(text), "width=%d height=%d bytes=%d sequence=%u", width, height,
                width * height * 3, sequence);
  return text;
}

// A width whose DIB rows carry padding, which the section must not.
TEST(FrameSection, PictureReadBackByteExactFromAnotherProcess) {
  const std::string name = UniqueSectionName("png");
  FrameSection section(name);
  auto frame = FilledFrame(37, 23, 0);
  ASSERT_TRUE(section.Publish(*frame));

  TempFolder folder;
  const std::string png = folder.path() + "picture.png";
  ASSERT_EQ(0, RunSectionReader("--name " + name + " --png \"" + png + "\"").exitCode);
  Gdiplus::GpBitmap* raw = nullptr;
  const std::wstring widePng(png.begin(), png.end());
  ASSERT_EQ(Gdiplus::Ok, Gdiplus::DllExports::GdipCreateBitmapFromFile(widePng.c_str(), &raw));
  const GpBitmapPtr read(raw);
  UINT width = 0, height = 0;
  Gdiplus::DllExports::GdipGetImageWidth(read.get(), &width);
  Gdiplus::DllExports::GdipGetImageHeight(read.get(), &height);
  ASSERT_EQ(37u, width);
  ASSERT_EQ(23u, height);
  int mismatches = 0;
  for (int row = 0; row < 23; ++row)
    for (int col = 0; col < 37; ++col) {
      Gdiplus::ARGB argb = 0;
      Gdiplus::DllExports::GdipBitmapGetPixel(read.get(), col, row, &argb);
      const Rgb expected = PixelAt(*frame, row, col);
      const Rgb got{static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8),
                    static_cast<uint8_t>(argb)};
      mismatches += expected.r != got.r || expected.g != got.g || expected.b != got.b;
    }
  EXPECT_EQ(0, mismatches);
}

// Each whole picture leaves an even sequence one step of two further on; a
// section nobody made is reported as missing; app containers may read it.
TEST(FrameSection, EveryPublishedPictureIsCountedAndSummed) {
  const std::string name = UniqueSectionName("print");
  EXPECT_EQ(2, RunSectionReader("--name " + name).exitCode);
  FrameSection section(name);
  ASSERT_TRUE(section.Publish(*FilledFrame(16, 8, 1)));
  const ToolRun first = RunSectionReader("--name " + name);
  ASSERT_TRUE(section.Publish(*FilledFrame(16, 8, 2)));
  const ToolRun second = RunSectionReader("--name " + name);
  ASSERT_EQ(0, first.exitCode) << first.output;
  ASSERT_EQ(0, second.exitCode) << second.output;
  EXPECT_EQ(0u, first.output.find(Line(16, 8, 2))) << first.output;
  EXPECT_EQ(0u, second.output.find(Line(16, 8, 4))) << second.output;
  EXPECT_NE(first.output.substr(first.output.find("checksum")),
            second.output.substr(second.output.find("checksum")));
  EXPECT_NE(std::string::npos, second.output.find("app_containers=read")) << second.output;
}

struct CountingDrawHandler : IDrawHandler {
  void OnDraw(HDC, HDC) override { ++draws; }
  int draws = 0;
};

// The worker's pictures end to end: each one reaches the section from the
// producer before any refresh tick, the orientation switch reaches the next
// header, the preview repaints with the owner's overlay on top, and its ticks
// publish nothing again.
TEST(PlayerCtrl, PicturesArePublishedAtOnceAndTheRefreshOnlyRepaints) {
  const std::string name = UniqueSectionName("player");
  StreamWorker worker(name);
  CountingDrawHandler overlay;
  PlayerCtrl player;
  ASSERT_TRUE(player.Create(nullptr, RECT{0, 0, 320, 180}, "preview", WS_POPUP | WS_VISIBLE));
  player.SetWorker(&worker);
  player.SetDrawHandler(&overlay);
  player.StartRefresh();

  worker.frameBuffer().OnFrame(MakeRgbPicture(1280, 720, CoordinateColour).get());
  ASSERT_EQ(1u, worker.published());
  EXPECT_EQ(0u, RunSectionReader("--name " + name).output.find("width=1280 height=720 "));

  worker.SetPortrait(true);
  worker.frameBuffer().OnFrame(MakeRgbPicture(720, 1280, CoordinateColour).get());
  ASSERT_EQ(2u, worker.published());
  EXPECT_EQ(0u, RunSectionReader("--name " + name).output.find("width=720 height=1280 "));
  // The refresh draws the newest frame (overlay included) and republishes nothing.
  const int drawsBefore = overlay.draws;
  ASSERT_TRUE(PumpUntil([&] { return overlay.draws > drawsBefore; }, 5000));
  EXPECT_EQ(2u, worker.published()) << "the preview's ticks republish nothing";
  player.StopRefresh();
  player.DestroyWindow();
}

}  // namespace
