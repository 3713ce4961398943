// The simulator's greeting, byte for byte, and its command line.
#include <gtest/gtest.h>

#include "tests/phone_simulator/desktop_client.h"
#include "tests/phone_simulator/greeted_desktop.h"
#include "tests/phone_simulator/simulator_process.h"

namespace {

std::string ConfigFor(int v, int h) {
  return "<config><reverse_v>" + std::to_string(v) + "</reverse_v><reverse_h>" + std::to_string(h) +
         "</reverse_h></config>";
}

// Starts a video-less simulator with `args`, connects `desktop`, sends the
// magic and reads the raw answer (magic, 32-bit length, `xml_length` bytes
// of XML) into *answer; the desktop's block is left to the test.
::testing::AssertionResult SendMagicAndReadAnswer(SimulatorProcess& sim, DesktopClient& desktop,
                                                  std::vector<std::string> args, size_t xml_length,
                                                  std::vector<uint8_t>* answer) {
  args.push_back("--no-video");
  const int port = sim.StartListening(args);
  if (port <= 0) return ::testing::AssertionFailure() << "not listening\n" << sim.Transcript();
  if (!desktop.Connect(port)) return ::testing::AssertionFailure() << "cannot connect";
  if (!desktop.Send("LNK10", 5)) return ::testing::AssertionFailure() << "cannot send the magic";
  answer->assign(5 + 4 + xml_length, 0);
  const size_t got = desktop.Recv(answer->data(), answer->size());
  if (got != answer->size())
    return ::testing::AssertionFailure() << "answer has " << got << " bytes, expected " << answer->size();
  return ::testing::AssertionSuccess();
}

TEST(SimulatorCommandLine, HelpDocumentsTheCornerColoursAndExitsZero) {
  SimulatorProcess sim;
  ASSERT_TRUE(sim.Start({"--help"}));
  std::string all, line;
  while (sim.NextLine(&line, 10000)) all += line + "\n";
  EXPECT_EQ(sim.WaitForExit(10000), 0);
  EXPECT_NE(all.find("top-left red, top-right green, bottom-left blue, bottom-right white"),
            std::string::npos);
  for (const char* option : {"--port", "--reverse-v", "--reverse-h", "--size", "--fps", "--silent-after",
                             "--close-mid-frame-after", "--wrong-magic", "--oversize-after", "--log",
                             "--dump", "--frames", "--exit-after-idle", "--command"})
    EXPECT_NE(all.find(option), std::string::npos) << option;
}

TEST(SimulatorCommandLine, BadOptionsExitWithCodeOne) {
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{{"--size", "1281x720"},
                                                                             {"--fps", "0"},
                                                                             {"--port", "70000"},
                                                                             {"--bogus"},
                                                                             {"--dump", "/tmp/x"},
                                                                             {"--chunk", "10:5"}}) {
    SimulatorProcess sim;
    ASSERT_TRUE(sim.Start(args));
    EXPECT_EQ(sim.WaitForExit(10000), 1) << args[0];
  }
}

TEST(SimulatorCommandLine, PortInUseIsReportedWithCodeTwo) {
  SimulatorProcess first;
  int port = first.StartListening({"--no-video"});
  ASSERT_GT(port, 0);
  SimulatorProcess second;
  ASSERT_TRUE(second.Start({"--port", std::to_string(port)}));
  std::string line;
  ASSERT_TRUE(second.WaitForLine("exiting reason=", &line));
  EXPECT_NE(line.find(std::to_string(port)), std::string::npos) << line;
  EXPECT_EQ(second.WaitForExit(10000), 2);
}

class SimulatorHandshake : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(SimulatorHandshake, AnswersMagicAndReverseFlagsThenTakesTheDesktopsEmptyBlock) {
  auto [v, h] = GetParam();
  SimulatorProcess sim;
  DesktopClient desktop;
  // Raw answer: magic, 32-bit little-endian length, the XML.
  const std::string xml = ConfigFor(v, h);
  std::vector<uint8_t> answer;
  ASSERT_TRUE(SendMagicAndReadAnswer(sim, desktop,
                                     {"--reverse-v", std::to_string(v), "--reverse-h", std::to_string(h)},
                                     xml.size(), &answer));
  EXPECT_EQ(std::string(answer.begin(), answer.begin() + 5), "LNK10");
  EXPECT_EQ(Le32(&answer[5]), xml.size());
  EXPECT_EQ(std::string(answer.begin() + 9, answer.end()), xml);
  const uint8_t zero[4] = {0, 0, 0, 0};
  ASSERT_TRUE(desktop.Send(zero, 4));
  std::string line;
  ASSERT_TRUE(sim.WaitForLine("greeting ", &line)) << sim.Transcript();
  EXPECT_EQ(line, "greeting magic=ok");
  ASSERT_TRUE(sim.WaitForLine("handshake ", &line));
  EXPECT_EQ(line, "handshake config_length=" + std::to_string(xml.size()));
  ASSERT_TRUE(sim.WaitForLine("desktop_config ", &line));
  EXPECT_EQ(line, "desktop_config length=0");
}

INSTANTIATE_TEST_SUITE_P(ReverseFlags, SimulatorHandshake,
                         ::testing::Values(std::make_pair(0, 0), std::make_pair(1, 0), std::make_pair(0, 1),
                                           std::make_pair(1, 1)));

TEST(SimulatorHandshakeBlock, ConfigXmlIsSentVerbatimAndEmptyMeansLengthZero) {
  for (std::string text : {std::string(""), std::string("<broken><reverse_v>1</rev"),
                           std::string("<cfg><reverse_h>7</reverse_h></cfg>")}) {
    SimulatorProcess sim;
    int port = sim.StartListening({"--config-xml", text, "--no-video"});
    ASSERT_GT(port, 0);
    DesktopClient desktop;
    std::string xml;
    ASSERT_TRUE(ConnectAndGreet(desktop, port, "LNK10", &xml));
    EXPECT_EQ(xml, text);
  }
}

TEST(SimulatorHandshakeBlock, DesktopConfigurationTextIsPrinted) {
  SimulatorProcess sim;
  DesktopClient desktop;
  std::vector<uint8_t> answer;
  ASSERT_TRUE(SendMagicAndReadAnswer(sim, desktop, {}, ConfigFor(0, 0).size(), &answer));
  const uint8_t block[7] = {3, 0, 0, 0, 'a', 'b', 'c'};
  ASSERT_TRUE(desktop.Send(block, sizeof block));
  std::string line;
  ASSERT_TRUE(sim.WaitForLine("desktop_config ", &line));
  EXPECT_EQ(line, "desktop_config length=3 abc");
}

TEST(SimulatorHandshakeBlock, WrongMagicFromTheDesktopEndsThatSessionOnly) {
  SimulatorProcess sim;
  int port = sim.StartListening({"--no-video"});
  ASSERT_GT(port, 0);
  DesktopClient bad;
  ASSERT_TRUE(bad.Connect(port));
  ASSERT_TRUE(bad.Send("LNK11", 5));
  char byte;
  EXPECT_EQ(bad.Recv(&byte, 1), 0u);  // closed without an answer
  ASSERT_TRUE(sim.WaitForLine("greeting magic=bad"));
  ASSERT_TRUE(sim.WaitForLine("disconnected reason=bad magic from desktop"));
  DesktopClient good;
  EXPECT_TRUE(ConnectAndGreet(good, port, "LNK10"));
}

}  // namespace
