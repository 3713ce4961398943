// One desktop at a time, commands in both directions and the simulator's own
// lifetime.
#include <signal.h>

#include <gtest/gtest.h>

#include "tests/phone_simulator/desktop_client.h"

namespace {

TEST(SimulatorSessions, NextDesktopIsServedAfterTheFirstDisconnectsWithAFreshStream) {
  SimulatorProcess sim;
  int port = 0;
  DesktopClient first;
  ASSERT_TRUE(ListenAndGreet(sim, first, {"--preset", "ultrafast"}, &port));
  std::vector<DeliveredPicture> pictures;
  ASSERT_TRUE(first.ReadPictures(3, &pictures));

  // A second desktop connects while the first is served: it is greeted once
  // the first has gone.
  DesktopClient second;
  ASSERT_TRUE(second.Connect(port));
  first.Close();
  ASSERT_TRUE(sim.WaitForLine("disconnected reason=")) << sim.Transcript();
  ASSERT_TRUE(second.Greet());
  pictures.clear();
  ASSERT_TRUE(second.ReadPictures(3, &pictures));
  EXPECT_EQ(pictures[0].FrameNumber(), 0);  // new encoder, starts with a key frame
}

TEST(SimulatorSessions, PhoneCommandsAreRepeatedAndTheDesktopsMessagesArePrinted) {
  SimulatorProcess sim;
  DesktopClient desktop;
  ASSERT_TRUE(ListenAndGreet(
      sim, desktop,
      {"--no-video", "--command", "<a>一</a>", "--command", "<b/>", "--command-interval", "50"}));
  std::vector<std::string> received;
  for (ReceivedFrame frame; received.size() < 6 && desktop.ReadFrame(&frame);) {
    EXPECT_EQ(frame.type, 4u);
    received.emplace_back(frame.payload.begin(), frame.payload.end());
  }
  EXPECT_EQ(received,
            (std::vector<std::string>{"<a>一</a>", "<b/>", "<a>一</a>", "<b/>", "<a>一</a>", "<b/>"}));

  const std::string click =
      "<command name=\"notify\"><event name=\"custom\" id=\"1\" parent_id=\"0\" "
      "text=\"美颜\"></event></command>";
  ASSERT_TRUE(desktop.SendFrame(5, "") && desktop.SendFrame(4, click) && desktop.SendFrame(4, "a\nb\\c") &&
              desktop.SendFrame(0x10007, "xyz"));  // unknown type: only its low 16 bits count
  ASSERT_TRUE(sim.WaitForLine("heartbeat")) << sim.Transcript();
  std::vector<std::string> printed;  // what follows, less the simulator's own sends
  for (std::string line; printed.size() < 3 && sim.NextLine(&line, 10000);)
    if (line.compare(0, 5, "sent ") != 0) printed.push_back(line);
  EXPECT_EQ(printed,
            (std::vector<std::string>{"command " + click, "command a\\nb\\\\c", "message type=7 length=3"}));
}

TEST(SimulatorLifetime, SigtermWithADesktopConnectedExitsCleanly) {
  SimulatorProcess sim;
  DesktopClient desktop;
  ASSERT_TRUE(ListenAndGreet(sim, desktop, {"--preset", "ultrafast"}));
  ASSERT_TRUE(sim.WaitForLine("streaming "));
  ASSERT_EQ(::kill(sim.pid(), SIGTERM), 0);
  ASSERT_TRUE(sim.WaitForLine("disconnected reason=simulator stopping")) << sim.Transcript();
  ASSERT_TRUE(sim.WaitForLine("exiting reason=SIGTERM"));
  EXPECT_EQ(sim.WaitForExit(10000), 0);
  // The desktop sees the link end.
  for (ReceivedFrame frame; desktop.ReadFrame(&frame) && frame.Whole();) {
  }
  EXPECT_EQ(desktop.WaitReadable(1000), -1);
}

TEST(SimulatorLifetime, ExitAfterIdleEndsTheProcessButNotWhileADesktopIsServed) {
  SimulatorProcess sim;
  {
    DesktopClient desktop;
    ASSERT_TRUE(ListenAndGreet(sim, desktop, {"--exit-after-idle", "1", "--no-video", "--panel", "off"}));
    // Keep the link for longer than the idle limit: a heartbeat answers back
    // through the printed lines, so the session is still alive at 1.5 s.
    ASSERT_TRUE(desktop.SendFrame(5, ""));
    ASSERT_TRUE(sim.WaitForLine("heartbeat"));
    EXPECT_EQ(desktop.WaitReadable(1500), 0);
    ASSERT_TRUE(desktop.SendFrame(5, ""));
    ASSERT_TRUE(sim.WaitForLine("heartbeat"));
  }
  ASSERT_TRUE(sim.WaitForLine("disconnected "));
  std::string line;
  ASSERT_TRUE(sim.WaitForLine("exiting ", &line, 10000));
  EXPECT_EQ(line, "exiting reason=idle");
  EXPECT_EQ(sim.WaitForExit(10000), 0);
}

}  // namespace
