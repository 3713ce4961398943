// One desktop at a time, commands in both directions, the log file and the
// simulator's own lifetime.
#include <signal.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "tests/phone_simulator/greeted_desktop.h"
#include "tests/phone_simulator/simulator_process.h"
#include "tests/phone_simulator/stream_reading.h"

namespace {

TEST(SimulatorSessions, NextDesktopIsServedAfterTheFirstDisconnectsWithAFreshStream) {
  SimulatorProcess sim;
  int port = 0;
  DesktopClient first;
  ASSERT_TRUE(ListenAndGreet(sim, first, {"--preset", "ultrafast"}, &port));
  std::vector<RgbPicture> pictures;
  ASSERT_TRUE(ReadPictures(first, 3, &pictures));

  // A second desktop greets while the first is served: it is answered only
  // once the first has gone.
  DesktopClient second;
  ASSERT_TRUE(second.Connect(port));
  ASSERT_TRUE(second.Send("LNK10", 5));
  first.Close();
  ASSERT_TRUE(sim.WaitForLine("disconnected reason=")) << sim.Transcript();
  char answer[5];
  ASSERT_EQ(second.Recv(answer, 5), 5u);
  EXPECT_EQ(std::string(answer, 5), "LNK10");
  uint8_t length_bytes[4];
  ASSERT_EQ(second.Recv(length_bytes, 4), 4u);
  std::vector<char> xml(Le32(length_bytes));
  ASSERT_EQ(second.Recv(xml.data(), xml.size()), xml.size());
  const uint8_t zero[4] = {0, 0, 0, 0};
  ASSERT_TRUE(second.Send(zero, 4));
  pictures.clear();
  ASSERT_TRUE(ReadPictures(second, 3, &pictures));
  test_pattern::Stamp stamp;
  ASSERT_TRUE(pictures[0].ReadStamp(&stamp));
  EXPECT_EQ(stamp.frame_number, 0u);  // new encoder, starts with a key frame

  // And a third, after the second.
  second.Close();
  DesktopClient third;
  ASSERT_TRUE(ConnectAndGreet(third, port));
  pictures.clear();
  EXPECT_TRUE(ReadPictures(third, 2, &pictures));
}

TEST(SimulatorSessions, DesktopCommandsAndHeartbeatsArePrintedAndLogged) {
  std::string log_path = UniqueTempPath("phone_simulator_session_test.log");
  std::remove(log_path.c_str());
  SimulatorProcess sim;
  DesktopClient desktop;
  ASSERT_TRUE(ListenAndGreet(sim, desktop, {"--no-video", "--log", log_path}));
  const std::string click =
      "<command name=\"notify\"><event name=\"click\" id=\"12\" parent_id=\"3\"></event></command>";
  const std::string chinese =
      "<command name=\"notify\"><event name=\"custom\" id=\"1\" parent_id=\"0\" "
      "text=\"美颜\"></event></command>";
  ASSERT_TRUE(desktop.SendFrame(5, ""));
  ASSERT_TRUE(desktop.SendFrame(4, click));
  ASSERT_TRUE(desktop.SendFrame(4, chinese));
  ASSERT_TRUE(desktop.SendFrame(4, "a\nb\\c"));
  ASSERT_TRUE(desktop.SendFrame(0x10007, "xyz"));  // unknown type: only its low 16 bits count
  std::string line;
  ASSERT_TRUE(sim.WaitForLine("heartbeat", &line));
  EXPECT_EQ(line, "heartbeat");
  ASSERT_TRUE(sim.NextLine(&line, 10000));
  EXPECT_EQ(line, "command " + click);
  ASSERT_TRUE(sim.NextLine(&line, 10000));
  EXPECT_EQ(line, "command " + chinese);
  ASSERT_TRUE(sim.NextLine(&line, 10000));
  EXPECT_EQ(line, "command a\\nb\\\\c");
  ASSERT_TRUE(sim.NextLine(&line, 10000));
  EXPECT_EQ(line, "message type=7 length=3");
  EXPECT_EQ(sim.SignalAndWait(SIGTERM), 0);

  std::ifstream in(log_path);
  std::string logged((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(logged.find("command " + click + "\n"), std::string::npos) << logged;
  EXPECT_NE(logged.find("command " + chinese + "\n"), std::string::npos) << logged;
  EXPECT_NE(logged.find("exiting reason=SIGTERM\n"), std::string::npos) << logged;
  std::remove(log_path.c_str());
}

TEST(SimulatorSessions, OversizeLengthFromTheDesktopEndsTheSession) {
  SimulatorProcess sim;
  DesktopClient desktop;
  ASSERT_TRUE(ListenAndGreet(sim, desktop, {"--no-video"}));
  const uint8_t header[8] = {4, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F};
  ASSERT_TRUE(desktop.Send(header, 8));
  std::string line;
  ASSERT_TRUE(sim.WaitForLine("disconnected reason=", &line));
  EXPECT_EQ(line, "disconnected reason=unacceptable length 2147483647");
  char byte;
  EXPECT_EQ(desktop.Recv(&byte, 1), 0u);
}

TEST(SimulatorSessions, PhoneCommandsAreSentAfterTheGreetingAndRepeated) {
  SimulatorProcess sim;
  DesktopClient desktop;
  ASSERT_TRUE(ListenAndGreet(
      sim, desktop,
      {"--no-video", "--command", "<a>一</a>", "--command", "<b/>", "--command-interval", "50"}));
  std::vector<std::string> received;
  for (int i = 0; i < 6; ++i) {
    ReceivedFrame frame;
    ASSERT_TRUE(desktop.ReadFrame(&frame));
    EXPECT_EQ(frame.type, 4u);
    received.emplace_back(frame.payload.begin(), frame.payload.end());
  }
  EXPECT_EQ(received,
            (std::vector<std::string>{"<a>一</a>", "<b/>", "<a>一</a>", "<b/>", "<a>一</a>", "<b/>"}));
}

TEST(SimulatorSessions, BlobsGoFirstThenCommands) {
  std::string path = UniqueTempPath("phone_simulator_blob_test.bin");
  {
    std::ofstream out(path, std::ios::binary);
    out << std::string("\x89PNG\0data", 9);
  }
  SimulatorProcess sim;
  DesktopClient desktop;
  ASSERT_TRUE(
      ListenAndGreet(sim, desktop, {"--no-video", "--blob", "filter_1.png=" + path, "--command", "<c/>"}));
  ReceivedFrame blob, command;
  ASSERT_TRUE(desktop.ReadFrame(&blob));
  ASSERT_TRUE(desktop.ReadFrame(&command));
  EXPECT_EQ(blob.type, 3u);
  ASSERT_EQ(blob.length, 255 + 9);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(blob.payload.data())), "filter_1.png");
  EXPECT_TRUE(
      std::all_of(blob.payload.begin() + 12, blob.payload.begin() + 255, [](uint8_t b) { return b == 0; }));
  EXPECT_EQ(std::string(blob.payload.begin() + 255, blob.payload.end()), std::string("\x89PNG\0data", 9));
  EXPECT_EQ(command.type, 4u);
  EXPECT_EQ(std::string(command.payload.begin(), command.payload.end()), "<c/>");
  std::string line;
  ASSERT_TRUE(sim.WaitForLine("sent blob ", &line));
  EXPECT_EQ(line, "sent blob name=filter_1.png length=264");
  std::remove(path.c_str());
}

TEST(SimulatorSessions, StandardInputLinesReachTheConnectedDesktop) {
  std::string path = UniqueTempPath("phone_simulator_stdin_blob.bin");
  {
    std::ofstream out(path, std::ios::binary);
    out << "pixels";
  }
  SimulatorProcess sim;
  int port = sim.StartListening({"--no-video", "--stdin-commands"}, 10000, true);
  ASSERT_GT(port, 0);
  // Nobody connected yet: the line is dropped, and says so.
  ASSERT_TRUE(sim.WriteInput("<early/>\n"));
  ASSERT_TRUE(sim.WaitForLine("error no desktop connected, input dropped: <early/>"));
  // Connected but not yet greeted: input must not cut into the greeting.
  DesktopClient desktop;
  ASSERT_TRUE(desktop.Connect(port));
  ASSERT_TRUE(sim.WaitForLine("connected peer="));
  ASSERT_TRUE(sim.WriteInput("<too-soon/>\n"));
  ASSERT_TRUE(sim.WaitForLine("error no desktop connected, input dropped: <too-soon/>"));
  std::string magic, xml;
  ASSERT_TRUE(desktop.Greet(&magic, &xml));
  EXPECT_EQ(magic, "LNK10");
  EXPECT_EQ(xml, "<config><reverse_v>0</reverse_v><reverse_h>0</reverse_h></config>");
  ASSERT_TRUE(sim.WaitForLine("desktop_config "));
  ASSERT_TRUE(
      sim.WriteInput("<command name=\"config\"><ctrl id=\"1\" name=\"滤镜\"/></command>\r\n@blob pic " +
                     path + "\n@blob broken\n"));
  ReceivedFrame frame;
  ASSERT_TRUE(desktop.ReadFrame(&frame));
  EXPECT_EQ(frame.type, 4u);
  EXPECT_EQ(std::string(frame.payload.begin(), frame.payload.end()),
            "<command name=\"config\"><ctrl id=\"1\" name=\"滤镜\"/></command>");
  ASSERT_TRUE(desktop.ReadFrame(&frame));
  EXPECT_EQ(frame.type, 3u);
  EXPECT_EQ(std::string(frame.payload.begin() + 255, frame.payload.end()), "pixels");
  EXPECT_TRUE(sim.WaitForLine("error usage: @blob NAME FILE"));
  // End of input does not end the simulator.
  sim.CloseInput();
  ASSERT_TRUE(desktop.SendFrame(5, ""));
  EXPECT_TRUE(sim.WaitForLine("heartbeat"));
  std::remove(path.c_str());
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
  ReceivedFrame frame;
  while (desktop.ReadFrame(&frame) && frame.payload.size() == static_cast<size_t>(frame.length)) {
  }
  EXPECT_EQ(desktop.WaitReadable(1000), -1);
}

TEST(SimulatorLifetime, SigintWhileIdleExitsCleanly) {
  SimulatorProcess sim;
  ASSERT_GT(sim.StartListening({}), 0);
  EXPECT_EQ(sim.SignalAndWait(SIGINT), 0);
}

TEST(SimulatorLifetime, ExitAfterIdleEndsTheProcessButNotWhileADesktopIsServed) {
  SimulatorProcess sim;
  int port = sim.StartListening({"--exit-after-idle", "1", "--no-video"});
  ASSERT_GT(port, 0);
  {
    DesktopClient desktop;
    ASSERT_TRUE(ConnectAndGreet(desktop, port));
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
