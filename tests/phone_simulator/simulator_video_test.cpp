// The simulator's live stream: Video messages whose payloads, concatenated,
// decode to the test picture at the chosen size, in order, stamped.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <set>

#include "tests/phone_simulator/greeted_desktop.h"
#include "tests/phone_simulator/simulator_process.h"
#include "tests/phone_simulator/stream_reading.h"

namespace {

uint32_t NowMs() {
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::system_clock::now().time_since_epoch())
                                   .count());
}

const std::vector<int> kUpright = {test_pattern::kTopLeft, test_pattern::kTopRight, test_pattern::kBottomLeft,
                                   test_pattern::kBottomRight};

struct Size {
  int width, height;
};
const Size kLandscape{1280, 720};
const Size kPortrait{720, 1280};

// Each picture i has the size `size_of(i)` and shows the test pattern upright.
void ExpectUprightPictures(const std::vector<RgbPicture>& pictures,
                           const std::function<Size(size_t)>& size_of) {
  for (size_t i = 0; i < pictures.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(pictures[i].width, size_of(i).width);
    EXPECT_EQ(pictures[i].height, size_of(i).height);
    EXPECT_EQ(pictures[i].CornerClasses(), kUpright);
  }
}

// Picture i carries frame number i: a stream (or dump) numbers from 0 and
// nothing was lost or reordered on the way. Each is stamped with a recent
// wall-clock time (a difference modulo 2^32).
void ExpectNumberedFromZero(const std::vector<RgbPicture>& pictures) {
  const uint32_t now = NowMs();
  for (size_t i = 0; i < pictures.size(); ++i) {
    SCOPED_TRACE(i);
    test_pattern::Stamp stamp;
    ASSERT_TRUE(pictures[i].ReadStamp(&stamp));
    EXPECT_EQ(stamp.frame_number, i);
    EXPECT_LT(now - stamp.send_time_ms, 60000u);
  }
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<RgbPicture> DecodeAll(const std::vector<uint8_t>& bytes) {
  TestDecoder decoder;
  std::vector<RgbPicture> pictures;
  decoder.Feed(bytes.data(), bytes.size(), &pictures);
  decoder.Flush(&pictures);
  return pictures;
}

struct StreamCase {
  int width, height, fps;
  int noise = 0;
};

class SimulatorStream : public ::testing::TestWithParam<StreamCase> {};

TEST_P(SimulatorStream, DecodesToStampedPicturesOfTheChosenSizeWithFourCornerColours) {
  const StreamCase c = GetParam();
  SimulatorProcess sim;
  DesktopClient desktop;
  ASSERT_TRUE(ListenAndGreet(sim, desktop,
                             {"--size", std::to_string(c.width) + "x" + std::to_string(c.height), "--fps",
                              std::to_string(c.fps), "--noise", std::to_string(c.noise)}));
  std::string line;
  ASSERT_TRUE(sim.WaitForLine("streaming ", &line));
  EXPECT_EQ(line, "streaming " + std::to_string(c.width) + "x" + std::to_string(c.height) + "@" +
                      std::to_string(c.fps));

  std::vector<RgbPicture> pictures;
  std::vector<ReceivedFrame> video;
  ASSERT_TRUE(ReadPictures(desktop, 10, &pictures, &video)) << sim.Transcript();
  ExpectUprightPictures(pictures, [&](size_t) { return Size{c.width, c.height}; });
  ExpectNumberedFromZero(pictures);  // a fresh stream for each desktop starts at 0
  // Message sizes are drawn at random: the default cut gives many sizes.
  std::set<size_t> sizes;
  for (const auto& f : video) {
    EXPECT_LE(f.payload.size(), 16384u);
    EXPECT_GT(f.payload.size(), 0u);
    sizes.insert(f.payload.size());
  }
  EXPECT_GT(sizes.size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SimulatorStream,
                         ::testing::Values(StreamCase{1280, 720, 30}, StreamCase{720, 1280, 60, 16}),
                         [](const ::testing::TestParamInfo<StreamCase>& info) {
                           return std::to_string(info.param.width) + "x" + std::to_string(info.param.height) +
                                  "at" + std::to_string(info.param.fps) +
                                  (info.param.noise ? "noise" + std::to_string(info.param.noise) : "");
                         });

TEST(SimulatorDump, WritesTheRequestedNumberOfFramesAndExits) {
  std::string path = UniqueTempPath("phone_simulator_dump_test.h264");
  std::remove(path.c_str());
  SimulatorProcess sim;
  ASSERT_TRUE(sim.Start({"--dump", path, "--frames", "30", "--size", "720x1280"}));
  std::string line;
  ASSERT_TRUE(sim.WaitForLine("dumped ", &line, 60000));
  EXPECT_EQ(sim.WaitForExit(10000), 0);
  const std::vector<uint8_t> bytes = ReadFileBytes(path);
  EXPECT_EQ(line, "dumped frames=30 bytes=" + std::to_string(bytes.size()) + " size=720x1280");
  EXPECT_EQ(CountAccessUnitDelimiters(bytes), 30);
  const std::vector<RgbPicture> pictures = DecodeAll(bytes);
  ASSERT_EQ(pictures.size(), 30u);
  ExpectUprightPictures(pictures, [](size_t) { return kPortrait; });
  ExpectNumberedFromZero(pictures);
  std::remove(path.c_str());
}

TEST(SimulatorTurning, LiveStreamChangesSizeMidRunWithoutRestartingTheCount) {
  SimulatorProcess sim;
  DesktopClient desktop;
  ASSERT_TRUE(
      ListenAndGreet(sim, desktop, {"--size", "720x1280", "--rotate-every", "0.4", "--preset", "ultrafast"}));
  // 0.4 s at 30 fps: the turn comes after about 12 frames; read past it.
  std::vector<RgbPicture> pictures;
  ASSERT_TRUE(ReadPictures(desktop, 20, &pictures));
  std::string line;
  ASSERT_TRUE(sim.WaitForLine("turned ", &line));
  EXPECT_EQ(line, "turned 1280x720");
  // Sizes alternate, starting upright; the turns follow wall-clock time, so
  // a slow machine may see a second one within these frames.
  std::vector<bool> turned(pictures.size(), false);
  int turns = 0;
  for (size_t i = 1; i < pictures.size(); ++i) {
    if (pictures[i].width != pictures[i - 1].width) ++turns;
    turned[i] = turns % 2 == 1;
  }
  ExpectUprightPictures(pictures, [&](size_t i) { return turned[i] ? kLandscape : kPortrait; });
  ExpectNumberedFromZero(pictures);
  EXPECT_GE(turns, 1);
  EXPECT_EQ(pictures[0].width, 720);
}

}  // namespace
