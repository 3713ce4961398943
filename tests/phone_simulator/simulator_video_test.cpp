// The simulator's live stream and dump: H.264 that the desktop's decoder
// turns into the test picture at the chosen size, in order, stamped.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>

#include "tests/phone_simulator/desktop_client.h"
#include "video/core/h264_decoder.h"

namespace {

// Picture i is upright at size_of(i) and carries frame number i: the stream
// numbers from 0 and nothing was lost or reordered on the way. Each is
// stamped with a recent wall-clock time (a difference modulo 2^32).
template <typename SizeOf>
void ExpectUprightAndNumberedFromZero(const std::vector<DeliveredPicture>& pictures, SizeOf size_of) {
  const uint32_t now = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                 std::chrono::system_clock::now().time_since_epoch())
                                                 .count());
  for (size_t i = 0; i < pictures.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(std::make_pair(pictures[i].width, pictures[i].height), size_of(i));
    EXPECT_EQ(pictures[i].Corners(), kUprightCorners);
    test_pattern::Stamp stamp;
    ASSERT_TRUE(pictures[i].ReadStamp(&stamp));
    EXPECT_EQ(stamp.frame_number, i);
    EXPECT_LT(now - stamp.send_time_ms, 60000u);
  }
}

struct StreamCase {
  int width, height, fps, noise;
};

class SimulatorStream : public ::testing::TestWithParam<StreamCase> {};

TEST_P(SimulatorStream, DecodesToStampedPicturesOfTheChosenSizeWithFourCornerColours) {
  const StreamCase c = GetParam();
  const std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
  SimulatorProcess sim;
  DesktopClient desktop;
  ASSERT_TRUE(ListenAndGreet(
      sim, desktop, {"--size", size, "--fps", std::to_string(c.fps), "--noise", std::to_string(c.noise)}));
  std::string line;
  ASSERT_TRUE(sim.WaitForLine("streaming ", &line));
  EXPECT_EQ(line, "streaming " + size + "@" + std::to_string(c.fps));

  std::vector<DeliveredPicture> pictures;
  std::vector<ReceivedFrame> video;
  ASSERT_TRUE(desktop.ReadPictures(10, &pictures, &video)) << sim.Transcript();
  // A fresh stream for each desktop starts at 0.
  ExpectUprightAndNumberedFromZero(pictures, [&](size_t) { return std::make_pair(c.width, c.height); });
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
                         ::testing::Values(StreamCase{1280, 720, 30, 0}, StreamCase{720, 1280, 60, 16}));

TEST(SimulatorDump, WritesTheRequestedNumberOfFramesAndExits) {
  const std::string path = ::testing::TempDir() + "/" + std::to_string(::getpid()) + "_dump.h264";
  SimulatorProcess sim;
  ASSERT_TRUE(sim.Start({"--dump", path, "--frames", "30", "--size", "720x1280"}));
  std::string line;
  ASSERT_TRUE(sim.WaitForLine("dumped ", &line, 60000));
  EXPECT_EQ(sim.WaitForExit(10000), 0);
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::remove(path.c_str());
  EXPECT_EQ(line, "dumped frames=30 bytes=" + std::to_string(bytes.size()) + " size=720x1280");
  RecordingSink sink;
  H264Decoder decoder;
  decoder.SetFrameSink(&sink);
  decoder.Feed(bytes.data(), static_cast<int>(bytes.size()));
  // The parser holds the last picture back until a next one would start.
  ASSERT_EQ(sink.pictures.size(), 29u);
  ExpectUprightAndNumberedFromZero(sink.pictures, [](size_t) { return std::make_pair(720, 1280); });
}

TEST(SimulatorTurning, LiveStreamChangesSizeMidRunWithoutRestartingTheCount) {
  SimulatorProcess sim;
  DesktopClient desktop;
  ASSERT_TRUE(
      ListenAndGreet(sim, desktop, {"--size", "720x1280", "--rotate-every", "0.4", "--preset", "ultrafast"}));
  // 0.4 s at 30 fps: the turn comes after about 12 frames; read past it.
  std::vector<DeliveredPicture> pictures;
  ASSERT_TRUE(desktop.ReadPictures(20, &pictures));
  std::string line;
  ASSERT_TRUE(sim.WaitForLine("turned ", &line));
  EXPECT_EQ(line, "turned 1280x720");
  // Sizes alternate, starting upright; the turns follow wall-clock time, so
  // a slow machine may see a second one within these frames.
  std::vector<bool> turned(pictures.size(), false);
  int turns = 0;
  for (size_t i = 1; i < pictures.size(); ++i)
    turned[i] = (turns += pictures[i].width != pictures[i - 1].width) % 2;
  ExpectUprightAndNumberedFromZero(
      pictures, [&](size_t i) { return turned[i] ? std::make_pair(1280, 720) : std::make_pair(720, 1280); });
  EXPECT_GE(turns, 1);
}

}  // namespace
