// The camera filter in a DirectShow graph built by the capture graph
// builder, fed by the program's FrameSection: rate, stamps and pixels for
// each camera and format; the placeholder, letterboxing and a producer that
// stops; and no torn frame while the producer rewrites as fast as it can.
#include <gtest/gtest.h>

#include <atomic>

#include "camera/camera_filter.h"
#include "framework/worker_thread.h"
#include "tests/support/camera_graph.h"

namespace {

constexpr Colour kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255}, kBlack{0, 0, 0};
constexpr Colour kQuadrants[4] = {kRed, kGreen, kBlue, kWhite};

class CameraFilterGraph : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))); }
  void TearDown() override {
    EXPECT_EQ(0, ModuleLockCount());  // every filter and enumerator released
    CoUninitialize();
  }
};

// The corner colours sit in the right corners (an upside-down or mirrored
// frame fails), about 30 frames a second arrive and their stamps rise by
// whole frame intervals.
TEST_F(CameraFilterGraph, EachCameraAndFormatDeliversThirtyFramesASecondWithCornersInPlace) {
  const std::string name = SectionNameFor("corners");
  Producer producer(name);
  for (const CameraProfile* profile : {&kLandscapeCamera, &kPortraitCamera}) {
    const int w = profile->width, h = profile->height;
    ASSERT_TRUE(producer.PublishQuadrants(w, h, kQuadrants));
    for (CameraFormat format :
         {CameraFormat::kYuy2, CameraFormat::kI420, CameraFormat::kNv12, CameraFormat::kRgb24}) {
      SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + " format " +
                   std::to_string(static_cast<int>(format)));
      CameraGraph graph(*profile, name, format);
      ASSERT_EQ(S_OK, graph.built());
      ASSERT_TRUE(SUCCEEDED(graph.Run()));
      ASSERT_TRUE(graph.WaitFrames(31));
      graph.Stop();
      const auto frames = graph.Take();
      const CapturedFrame& last = frames.back();
      ASSERT_EQ(CameraFrameBytes(format, w, h), last.bytes.size());
      for (size_t i = 1; i < frames.size(); ++i) {
        const REFERENCE_TIME step = frames[i].start - frames[i - 1].start;
        EXPECT_TRUE(step > 0 && step % 333333 == 0) << "frame " << i << " step " << step;
      }
      // 30 intervals: about one second of arrivals and of stamps.
      const DWORD elapsed = frames[30].arrivedMs - frames[0].arrivedMs;
      EXPECT_GE(elapsed, 800u);
      EXPECT_LE(elapsed, 1600u);
      EXPECT_LE(frames[30].start - frames[0].start, 45 * 333333);
      const int inX = w / 10, inY = h / 10;
      const int points[4][2] = {
          {inX, inY}, {w - 1 - inX, inY}, {inX, h - 1 - inY}, {w - 1 - inX, h - 1 - inY}};
      for (int i = 0; i < 4; ++i) {
        const Colour got = ColourAt(last, format, w, h, points[i][0], points[i][1]);
        EXPECT_TRUE(Near(kQuadrants[i], got))
            << "corner " << i << ": " << got.r << "," << got.g << "," << got.b;
      }
    }
  }
}

// One run through the life of a section: no section yet (our placeholder),
// a portrait picture in the landscape camera (letterboxed, not stretched),
// and the producer gone (the last picture stays).
TEST_F(CameraFilterGraph, PlaceholderThenLetterboxedPictureThatOutlivesItsProducer) {
  const std::string name = SectionNameFor("life");
  const int w = kLandscapeCamera.width, h = kLandscapeCamera.height;
  const CameraFormat format = CameraFormat::kRgb24;
  CameraGraph graph(kLandscapeCamera, name, format);
  ASSERT_EQ(S_OK, graph.built());
  ASSERT_TRUE(SUCCEEDED(graph.Run()));
  ASSERT_TRUE(graph.WaitFrames(3));
  const CapturedFrame placeholder = graph.Take().back();
  // Our dark background at the edge, and something drawn on it: never
  // nothing, never garbage.
  EXPECT_TRUE(Near({24, 26, 32}, ColourAt(placeholder, format, w, h, 2, 2), 0));
  EXPECT_FALSE(OneColour(placeholder));

  auto producer = std::make_unique<Producer>(name);
  ASSERT_TRUE(producer->PublishQuadrants(h, w, kQuadrants));
  CapturedFrame letterboxed;
  ASSERT_TRUE(graph.WaitForFrame([&](const CapturedFrame& f) {
    if (!Near(kBlack, ColourAt(f, format, w, h, 2, 2), 0)) return false;
    letterboxed = f;
    return true;
  }));
  // 720x1280 fits as 405x720 at x = 437: bars left and right, corners inside.
  const int left = 437, right = 437 + 405 - 1;
  EXPECT_TRUE(Near(kBlack, ColourAt(letterboxed, format, w, h, left - 1, h / 2), 0));
  EXPECT_TRUE(Near(kBlack, ColourAt(letterboxed, format, w, h, right + 1, h / 2), 0));
  const int points[4][2] = {{left + 10, 10}, {right - 10, 10}, {left + 10, h - 11}, {right - 10, h - 11}};
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(Near(kQuadrants[i], ColourAt(letterboxed, format, w, h, points[i][0], points[i][1]))) << i;

  producer.reset();
  graph.Take();
  ASSERT_TRUE(graph.WaitFrames(10));
  graph.Stop();
  for (const CapturedFrame& frame : graph.Take()) EXPECT_TRUE(frame.bytes == letterboxed.bytes);
}

// A producer rewriting the section with alternating solid colours as fast
// as it can: every frame a camera delivers is one colour.
TEST_F(CameraFilterGraph, NoTornFrameWhileTheProducerRewritesAsFastAsItCan) {
  const std::string name = SectionNameFor("torn");
  const int w = kLandscapeCamera.width, h = kLandscapeCamera.height;
  Producer producer(name);
  ASSERT_TRUE(producer.PublishSolid(w, h, kRed));
  CameraGraph graph(kLandscapeCamera, name, CameraFormat::kRgb24);
  ASSERT_EQ(S_OK, graph.built());
  ASSERT_TRUE(SUCCEEDED(graph.Run()));
  // The camera holds the red picture before the writer starts.
  ASSERT_TRUE(graph.WaitForFrame(
      [&](const CapturedFrame& f) { return Near(kRed, ColourAt(f, CameraFormat::kRgb24, w, h, 0, 0), 0); }));
  std::atomic<bool> stop{false};
  std::atomic<int> written{0};
  WorkerThread writer;
  ASSERT_TRUE(writer.Start([&] {
    for (int i = 0; !stop; ++i, ++written) producer.PublishSolid(w, h, i % 2 ? kWhite : kBlue);
  }));
  graph.Take();
  const bool enough = graph.WaitFrames(30);
  graph.Stop();
  stop = true;
  writer.Join();
  ASSERT_TRUE(enough);
  int torn = 0;
  const auto frames = graph.Take();
  for (const CapturedFrame& frame : frames) torn += !OneColour(frame);
  EXPECT_EQ(0, torn) << frames.size() << " frames, " << written << " pictures written";
  EXPECT_GT(written, 30);
}

}  // namespace
