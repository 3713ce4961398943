// The simulator's command line and its greeting, byte for byte.
#include <gtest/gtest.h>

#include "tests/phone_simulator/greeted_desktop.h"
#include "tests/phone_simulator/simulator_process.h"

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
                                                                             {"--silent-after", "-1"}}) {
    SimulatorProcess sim;
    ASSERT_TRUE(sim.Start(args));
    EXPECT_EQ(sim.WaitForExit(10000), 1) << args[0] << " " << (args.size() > 1 ? args[1] : "");
  }
}

class SimulatorHandshake : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(SimulatorHandshake, AnswersMagicAndReverseFlagsThenTakesTheDesktopsEmptyBlock) {
  auto [v, h] = GetParam();
  SimulatorProcess sim;
  DesktopClient desktop;
  std::string xml;
  ASSERT_TRUE(ListenAndGreet(
      sim, desktop, {"--no-video", "--reverse-v", std::to_string(v), "--reverse-h", std::to_string(h)},
      nullptr, "LNK10", &xml));
  EXPECT_EQ(xml, "<config><reverse_v>" + std::to_string(v) + "</reverse_v><reverse_h>" + std::to_string(h) +
                     "</reverse_h></config>");
  std::string line;
  ASSERT_TRUE(sim.WaitForLine("desktop_config ", &line)) << sim.Transcript();
  EXPECT_EQ(line, "desktop_config length=0");
}

INSTANTIATE_TEST_SUITE_P(ReverseFlags, SimulatorHandshake,
                         ::testing::Values(std::make_pair(1, 0), std::make_pair(0, 1)));

}  // namespace
