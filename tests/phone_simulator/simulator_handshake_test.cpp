// The simulator's command line and its greeting, byte for byte.
#include <gtest/gtest.h>

#include "tests/phone_simulator/desktop_client.h"

namespace {

// Options that must be refused before anything starts: the process exits 1.
TEST(SimulatorCommandLine, BadOptionsExitWithCodeOne) {
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{{"--size", "1281x720"},
                                                                             {"--size", "big"},
                                                                             {"--fps", "0"},
                                                                             {"--port", "70000"},
                                                                             {"--reverse-v"},
                                                                             {"--bogus"},
                                                                             {"--dump", "/tmp/x"},
                                                                             {"--chunk", "10:5"},
                                                                             {"--silent-after", "-1"},
                                                                             {"--panel", "yes"}}) {
    SimulatorProcess sim;
    ASSERT_TRUE(sim.Start(args));
    EXPECT_EQ(sim.WaitForExit(10000), 1) << args[0] << " " << (args.size() > 1 ? args[1] : "");
  }
}

struct HandshakeCase {
  int reverse_v, reverse_h;
  bool wrong_magic;  // the fault: answers LNK99 instead of LNK10
};

class SimulatorHandshake : public ::testing::TestWithParam<HandshakeCase> {};

TEST_P(SimulatorHandshake, AnswersMagicAndReverseFlagsThenTakesTheDesktopsEmptyBlock) {
  const HandshakeCase c = GetParam();
  SimulatorProcess sim;
  DesktopClient desktop;
  std::vector<std::string> args = {"--no-video", "--reverse-v", std::to_string(c.reverse_v), "--reverse-h",
                                   std::to_string(c.reverse_h)};
  if (c.wrong_magic) args.push_back("--wrong-magic");
  std::string xml;
  ASSERT_TRUE(ListenAndGreet(sim, desktop, args, nullptr, c.wrong_magic ? "LNK99" : "LNK10", &xml));
  EXPECT_EQ(xml, "<config><reverse_v>" + std::to_string(c.reverse_v) + "</reverse_v><reverse_h>" +
                     std::to_string(c.reverse_h) + "</reverse_h></config>");
  if (c.wrong_magic) {
    EXPECT_TRUE(sim.WaitForLine("fault wrong-magic")) << sim.Transcript();
  }
  std::string line;
  ASSERT_TRUE(sim.WaitForLine("desktop_config ", &line)) << sim.Transcript();
  EXPECT_EQ(line, "desktop_config length=0");
}

INSTANTIATE_TEST_SUITE_P(ReverseFlags, SimulatorHandshake,
                         ::testing::Values(HandshakeCase{1, 0, false}, HandshakeCase{0, 1, true}));

}  // namespace
