#include "link/adb_runner.h"

#include <gtest/gtest.h>

#include <thread>

#include "tests/support/fake_adb_fixture.h"

namespace {

using Strings = std::vector<std::string>;

// Handles this process holds now; a leak shows as a larger count later.
DWORD OpenHandleCount() {
  DWORD count = 0;
  EXPECT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &count));
  return count;
}

const char kCrLfListing[] = "List of devices attached\r\nA1\tdevice\r\nB2\toffline\r\nC3\tdevice\r\n\r\n";

// The runner's part of a listing: the exact command line, standard error in
// the same text, output read in 1023-byte chunks of which each is cut at its
// first NUL (the first chunk holds A1, a NUL and a line for Z9 that must be
// cut away; C3 follows in the second chunk). Parsing is the parser's tests'.
TEST(AdbRunnerDevices, CommandLineErrorStreamAndChunkedOutput) {
  std::string first = "List of devices attached\r\nA1\tdevice\r\n";
  first.push_back('\0');
  first += "\r\nZ9\tdevice\r\n";
  first += std::string(1023 - first.size(), 'x');
  FakeAdbFolder adb;
  adb.SetScenario(ScenarioLine("stderr devices", "* daemon started successfully\r\nE5\tdevice\r\n") +
                  ScenarioLine("devices", first + "\r\nC3\tdevice\r\n"));
  AdbRunner runner;
  Strings serials{"earlier"};
  ASSERT_TRUE(runner.ListDevices(serials));
  EXPECT_EQ(serials, (Strings{"earlier", "E5", "A1", "C3"}));
  EXPECT_EQ(adb.Records("cmd "), (Strings{"adb\\\\adb.exe devices"}));  // the record escapes the backslash
  EXPECT_FALSE(runner.LastReadCutShort());
}

// The shell gets exactly "getprop" CR LF (9 bytes), then "exit" CR LF (6
// bytes); forward names both ports, and what it prints is not examined.
TEST(AdbRunnerCommands, ShellInputAndForwardCommandLines) {
  FakeAdbFolder adb;
  adb.SetScenario(ScenarioLine("model SER1", "[ro.product.model]: [X1]\r\n") +
                  ScenarioLine("stderr forward", "error: device 'S' not found\r\n"));
  AdbRunner runner;
  DeviceInfo info;
  ASSERT_TRUE(runner.QueryModel("SER1", info));
  EXPECT_EQ(info.name, "X1");
  EXPECT_EQ(adb.Records("stdin "), (Strings{"getprop\\r\\n", "exit\\r\\n"}));
  EXPECT_TRUE(runner.Forward("S", 5037, 27183));
  EXPECT_EQ(adb.Records("cmd "),
            (Strings{"adb\\\\adb.exe -s SER1 shell", "adb\\\\adb.exe -s S forward tcp:5037 tcp:27183"}));
}

// Without adb every operation fails; repeated runs, and a child closed
// without reading its output, leave no handle behind either.
TEST(AdbRunnerHandles, MissingAdbRunsAndEarlyClosesReleaseEveryHandle) {
  FakeAdbFolder adb;
  adb.SetScenario(ScenarioLine("devices", kCrLfListing) + "model A1 [ro.product.model]: [M]\\r\\n\n");
  {
    // Warm up once so lazily created process-wide handles are not counted.
    AdbRunner warm;
    Strings s;
    warm.ListDevices(s);
  }
  const DWORD before = OpenHandleCount();
  {
    AdbRunner runner;
    for (int i = 0; i < 3; ++i) {
      Strings serials;
      ASSERT_TRUE(runner.ListDevices(serials));
      DeviceInfo info;
      ASSERT_TRUE(runner.QueryModel("A1", info));
      EXPECT_EQ(info.name, "M");
      ASSERT_TRUE(runner.Forward("A1", 8984, 8984));
    }
    ASSERT_TRUE(runner.Run("adb\\adb.exe devices"));
    EXPECT_TRUE(runner.WriteInput(""));
    runner.Close();
    runner.Close();
    EXPECT_EQ(runner.ReadOutput(), "");
    EXPECT_FALSE(runner.WriteInput("x"));
  }
  {
    FakeAdbFolder noAdb(/*withAdb=*/false);  // last: it clears the scenario on leaving
    AdbRunner runner;
    Strings serials{"kept"};
    EXPECT_FALSE(runner.ListDevices(serials));
    EXPECT_EQ(serials, (Strings{"kept"}));
    DeviceInfo info;
    EXPECT_FALSE(runner.QueryModel("SER", info));
    EXPECT_EQ(info.name, "SER");  // the device keeps its serial as its name
    EXPECT_FALSE(runner.Forward("SER", 8984, 8984));
    EXPECT_FALSE(runner.Run("adb\\adb.exe devices"));
    EXPECT_EQ(runner.ReadOutput(), "");
    EXPECT_FALSE(runner.WriteInput("getprop\r\n"));
  }
  EXPECT_EQ(OpenHandleCount(), before);
}

// A hung adb is ended at the runner's deadline; what it printed still counts.
TEST(AdbRunnerBound, HungAdbIsTerminatedAtTheDeadline) {
  FakeAdbFolder adb;
  adb.SetScenario(ScenarioLine("devices", kCrLfListing) + "hang devices\n");
  AdbRunner runner(/*deadlineMs=*/1500);
  Strings serials;
  ASSERT_TRUE(runner.ListDevices(serials));
  EXPECT_EQ(serials, (Strings{"A1", "C3"}));
  EXPECT_TRUE(runner.LastReadCutShort());
  ASSERT_EQ(adb.Pids().size(), 1u);
  EXPECT_TRUE(ProcessEnds(adb.Pids()[0], 10000));
}

// adb's forked server inherits the output pipe and keeps it open; the read
// ends when adb itself has exited, long before the deadline.
TEST(AdbRunnerBound, ChildThatLeavesAProcessHoldingThePipeEndsTheReadAtItsExit) {
  FakeAdbFolder adb;
  adb.SetScenario(ScenarioLine("devices", kCrLfListing) + "holder devices 60000\n");
  AdbRunner runner(/*deadlineMs=*/30000);
  Strings serials;
  ASSERT_TRUE(runner.ListDevices(serials));
  EXPECT_EQ(serials, (Strings{"A1", "C3"}));
  EXPECT_FALSE(runner.LastReadCutShort());
  ASSERT_EQ(adb.Pids("holder ").size(), 1u);
  EXPECT_FALSE(ProcessEnds(adb.Pids("holder ")[0], 0));  // still holding the pipe; the fixture ends it
}

TEST(AdbRunnerBound, CancelEventEndsAWaitingReadAtOnce) {
  FakeAdbFolder adb;
  AdbGate gate;  // never opened: adb waits
  UniqueHandle cancel(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  adb.SetScenario(gate.Directive("devices"));
  AdbRunner runner(/*deadlineMs=*/120000, cancel.get());
  bool listed = false;
  UniqueHandle finished(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  std::thread scan([&] {
    Strings serials;
    listed = runner.ListDevices(serials);
    SetEvent(finished.get());
  });
  EXPECT_TRUE(gate.WaitReady(60000)) << adb.Records().size();
  SetEvent(cancel.get());
  EXPECT_EQ(WaitForSingleObject(finished.get(), 30000), WAIT_OBJECT_0);
  scan.join();
  EXPECT_TRUE(listed);
  EXPECT_TRUE(runner.LastReadCutShort());
  ASSERT_EQ(adb.Pids().size(), 1u);
  EXPECT_TRUE(ProcessEnds(adb.Pids()[0], 10000));
  // A cancelled runner starts nothing more.
  Strings more;
  EXPECT_FALSE(runner.ListDevices(more));
}

// The child inherits its pipe ends only, not other inheritable handles of the
// process (which another thread's adb child may be using at that moment).
TEST(AdbRunnerHandles, ChildInheritsOnlyItsOwnPipeEnds) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  UniqueHandle stray(CreateEventA(&inherit, TRUE, FALSE, nullptr));
  ASSERT_TRUE(stray);
  char hex[32];
  std::snprintf(hex, sizeof(hex), "%llx",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(stray.get())));
  FakeAdbFolder adb;
  adb.SetScenario(std::string("probe ") + hex + "\n");
  AdbRunner runner;
  Strings serials;
  ASSERT_TRUE(runner.ListDevices(serials));
  EXPECT_EQ(adb.Records("probe "), (Strings{std::string(hex) + " closed"}));
}

}  // namespace
