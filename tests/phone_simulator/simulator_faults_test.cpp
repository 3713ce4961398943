// Each fault option does what --help says.
#include <gtest/gtest.h>

#include "tests/phone_simulator/desktop_client.h"

namespace {

TEST(SimulatorFaults, SilentAfterStopsSendingButKeepsTheLinkOpen) {
  SimulatorProcess sim;
  DesktopClient desktop;
  ASSERT_TRUE(ListenAndGreet(sim, desktop, {"--silent-after", "2", "--preset", "ultrafast"}));
  std::vector<DeliveredPicture> pictures;
  ASSERT_TRUE(desktop.ReadPictures(3, &pictures));  // streaming before the fault
  ASSERT_TRUE(sim.WaitForLine("fault silent")) << sim.Transcript();
  // Everything sent before the fault line is already in our receive buffer:
  // drain it frame by frame (whole frames only), then nothing more comes.
  ReceivedFrame frame;
  while (desktop.WaitReadable(200) == 1) ASSERT_TRUE(desktop.ReadFrame(&frame) && frame.Whole());
  EXPECT_EQ(desktop.WaitReadable(2500), 0);  // silent, and not closed
  // The simulator still reads: a heartbeat is printed.
  ASSERT_TRUE(desktop.SendFrame(5, ""));
  EXPECT_TRUE(sim.WaitForLine("heartbeat"));
}

TEST(SimulatorFaults, CloseMidFrameSendsAHeaderAndHalfThePayloadThenCloses) {
  SimulatorProcess sim;
  DesktopClient desktop;
  ASSERT_TRUE(ListenAndGreet(sim, desktop, {"--close-mid-frame-after", "0.5", "--preset", "ultrafast"}));
  ReceivedFrame frame, last;
  int frames = 0;
  while (frames < 100000 && desktop.ReadFrame(&frame)) {
    ++frames;
    last = frame;
    if (!frame.Whole()) break;
  }
  ASSERT_GT(frames, 1);
  EXPECT_EQ(last.type, 1u);
  ASSERT_GT(last.length, 0);
  EXPECT_EQ(last.payload.size(), static_cast<size_t>(last.length / 2));
  char byte;
  EXPECT_EQ(desktop.Recv(&byte, 1), 0u);  // closed
  std::string line;
  ASSERT_TRUE(sim.WaitForLine("fault close-mid-frame", &line));
  EXPECT_EQ(line, "fault close-mid-frame length=" + std::to_string(last.length) +
                      " sent=" + std::to_string(last.length / 2));
  EXPECT_TRUE(sim.WaitForLine("disconnected reason=fault close-mid-frame"));
}

TEST(SimulatorFaults, OversizeAnnouncesTheLengthThenSends64BytesAndFallsSilent) {
  SimulatorProcess sim;
  DesktopClient desktop;
  ASSERT_TRUE(ListenAndGreet(sim, desktop, {"--oversize-after", "0.3", "--preset", "ultrafast"}));
  ReceivedFrame frame;
  for (int i = 0; i < 100000; ++i) {
    ASSERT_TRUE(desktop.ReadFrame(&frame, 0));  // 0: leave payloads for us to read
    if (frame.length == INT32_MAX) break;
    std::vector<uint8_t> skip(static_cast<size_t>(frame.length));
    ASSERT_EQ(desktop.Recv(skip.data(), skip.size()), skip.size());
  }
  ASSERT_EQ(frame.length, INT32_MAX);
  EXPECT_EQ(frame.type, 1u);
  std::vector<uint8_t> rest(64);
  EXPECT_EQ(desktop.Recv(rest.data(), rest.size()), 64u);
  ASSERT_TRUE(sim.WaitForLine("fault oversize length=2147483647"));
  EXPECT_EQ(desktop.WaitReadable(1000), 0);
}

}  // namespace
