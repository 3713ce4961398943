#include "video/stream_worker.h"

#include <functional>

#include <gtest/gtest.h>

#include "config/core/app_globals.h"
#include "config/core/app_messages.h"
#include "tests/video/stream/silent_phone.h"
#include "tests/video/stream/stream_test_support.h"
#include "tools/phone_simulator/test_pattern.h"

namespace {

using test_pattern::CornerColourName;

// Generous bounds: each covers an event that normally takes well under a second.
constexpr DWORD kEventMs = 20000;

class StreamWorkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetAppString(AppString::ConnTips, "");
    worker.SetNotifyWindow(window.hwnd());
  }
  void TearDown() override { worker.Stop(); }

  bool WaitFor(UINT message, size_t count = 1) {
    return PumpUntil([&] { return window.Count(message) >= count; }, kEventMs);
  }
  void Connect(int simulator) {
    worker.SetEndpoint("127.0.0.1", PortOf(simulator));
    worker.Start(&phone);
  }
  // The next new frame, taken the way the preview takes it (TakeNextFrame
  // hands out the previous frame again while none is queued, even from an
  // earlier run). Null when none came.
  const VideoFrame* WaitForFrame() {
    const VideoFrame* previous = worker.TakeNextFrame();
    const VideoFrame* frame = nullptr;
    return PumpUntil([&] { return (frame = worker.TakeNextFrame()) != previous; }, kEventMs) ? frame
                                                                                             : nullptr;
  }

  FakeAdbFolder adb;
  RecordingWindow window;
  StreamWorker worker;
  DeviceInfo phone{"Simulated phone", "SIM0001", kDeviceAndroid};  // its forward leads to a simulator
};

TEST_F(StreamWorkerTest, AndroidRunShowsThePhonesPictureWithItsFlagAndTheUserToggleApplied) {
  // The phone asks for a vertical flip and the user mirrors: the picture
  // comes out upside down and mirrored (the frame buffer's tables prove
  // every other combination pixel by pixel).
  worker.SetUserFlip(1, 0);
  Connect(kReverseVSim);
  ASSERT_TRUE(WaitFor(WM_STREAM_CONNECTED));
  EXPECT_TRUE(worker.IsRunning());
  const VideoFrame* frame = WaitForFrame();
  ASSERT_NE(frame, nullptr) << "no frame arrived";
  EXPECT_EQ(frame->width(), 1280);
  EXPECT_EQ(frame->height(), 720);
  int corners[4];
  test_pattern::ClassifyCornersBottomUpBgr(frame->bits(), frame->width(), frame->height(), frame->stride(),
                                           corners);
  EXPECT_STREQ(CornerColourName(corners[0]), "white");  // the picture's bottom right
  EXPECT_STREQ(CornerColourName(corners[1]), "blue");   // bottom left
  EXPECT_STREQ(CornerColourName(corners[2]), "green");  // top right
  EXPECT_STREQ(CornerColourName(corners[3]), "red");    // top left
}

TEST_F(StreamWorkerTest, TakeNextFrameKeepsReturningTheLastFrameWhenNoneIsQueued) {
  EXPECT_EQ(worker.TakeNextFrame(), nullptr) << "nothing before the first frame";
  Connect(kPlainSim);
  ASSERT_TRUE(WaitFor(WM_STREAM_CONNECTED));
  ASSERT_NE(WaitForFrame(), nullptr);
  worker.Stop();
  const VideoFrame* last = nullptr;
  while (const VideoFrame* f = worker.TakeNextFrame()) {  // drain what the run queued
    if (f == last) break;
    last = f;
  }
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(worker.TakeNextFrame(), last);
  EXPECT_EQ(worker.TakeNextFrame(), last);
}

// Starts that cannot connect: the text the user is shown, and the phone the
// worker keeps (a copy) for the retry.
TEST_F(StreamWorkerTest, FailedStartsReportTheShortTextTheConfiguredConnTipsOrTheBuiltInHint) {
  DeviceInfo iphone = phone;
  iphone.kind = kDeviceIos;  // no device library in the tests
  struct Case {
    const DeviceInfo* device;
    int simulator;
    const char *connTips, *expected;
  } cases[] = {{nullptr, kPlainSim, "", "同步失败！"},
               {&phone, kNoListener, "", StreamWorker::kDefaultConnectFailedText},
               {&phone, kNoListener, "请先打开手机上的直播模式", "请先打开手机上的直播模式"},
               {&iphone, kPlainSim, "", StreamWorker::kDefaultConnectFailedText}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    window.messages.clear();
    SetAppString(AppString::ConnTips, c.connTips);
    worker.SetEndpoint("127.0.0.1", PortOf(c.simulator));
    worker.Start(c.device);
    ASSERT_TRUE(WaitFor(WM_STREAM_CONNECT_FAILED));
    EXPECT_EQ(worker.GetErrorText(), c.expected);
    EXPECT_EQ(window.Count(WM_STREAM_CONNECTED), 0u);
    EXPECT_EQ(worker.device() ? worker.device()->id : "-", c.device ? c.device->id : "-");
    ASSERT_TRUE(PumpUntil([&] { return !worker.IsRunning(); }, kEventMs));
  }
}

TEST_F(StreamWorkerTest, PhoneClosingInTheMiddleOfAFrameEndsTheRunWithoutAnErrorText) {
  Connect(kCloseMidFrameSim);
  ASSERT_TRUE(WaitFor(WM_STREAM_CONNECTED));
  const ULONGLONG connected = GetTickCount64();
  ASSERT_TRUE(WaitFor(WM_STREAM_DISCONNECTED));
  EXPECT_LT(GetTickCount64() - connected, 5000u)
      << "a closed link ends the run at once, not after the silence time-out";
  EXPECT_EQ(worker.GetErrorText(), "") << "a dropped link is not a failed connection";
  ASSERT_TRUE(PumpUntil([&] { return !worker.IsRunning(); }, kEventMs));
}

TEST_F(StreamWorkerTest, StopWhileACommandIsBeingDeliveredDoesNotDeadlock) {
  Connect(kCommandSim);
  // Wait, without dispatching anything, until the stream thread is blocked
  // in SendMessageA to our window with the phone's command.
  const ULONGLONG deadline = GetTickCount64() + kEventMs;
  while (!(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) && GetTickCount64() < deadline)
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_SENDMESSAGE);
  ASSERT_TRUE(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) << "no command arrived";
  ASSERT_TRUE(window.commands.empty());

  // Stop must deliver the command while it waits for the thread; a deadlock
  // here is ended by the suite's time limit.
  worker.Stop();
  EXPECT_FALSE(worker.IsRunning());
  ASSERT_EQ(window.commands.size(), 1u);
  EXPECT_EQ(window.commands[0], kSimulatorCommand);
  ASSERT_TRUE(WaitFor(WM_STREAM_DISCONNECTED));
  EXPECT_EQ(window.Count(WM_STREAM_CONNECTED), 1u);
}

// Stop cancels whatever the stream thread waits on. Each case brings the run
// into one state and proves it is there before stopping; the bound is
// generous (bench/stream_stop_bench measures the real figure).
TEST_F(StreamWorkerTest, StopEndsTheRunPromptlyInEveryStateItCanWaitIn) {
  constexpr ULONGLONG kStopBoundMs = 3000;
  AdbGate gate;
  SilentPhone unreachable(SilentPhone::kUnreachable), greeted(SilentPhone::kTakesTheGreeting);
  ASSERT_TRUE(unreachable.unreachable()) << "could not fill the listen backlog";
  size_t adbRuns = 0;  // fake adb processes recorded before this case's run
  struct Case {
    const char* state;
    std::string adbScenario;
    uint16_t port;
    std::function<bool()> reached;
  } cases[] = {
      {"streaming", "", PortOf(kPlainSim),
       [&] { return WaitFor(WM_STREAM_CONNECTED) && WaitForFrame() != nullptr; }},
      {"adb hanging on the forward", gate.Directive("forward"), PortOf(kPlainSim),
       [&] { return gate.WaitReady(kEventMs); }},
      {"connecting to a phone that never accepts", "", unreachable.port(),
       [&] {
         // The forward is done once its fake adb has gone; a connect that is
         // still pending half a second later is not going to complete.
         return PumpUntil([&] { return adb.Pids().size() > adbRuns; }, kEventMs) &&
                ProcessEnds(adb.Pids()[adbRuns], kEventMs) &&
                !PumpUntil([&] { return !window.messages.empty(); }, 500);
       }},
      {"greeting unanswered", "", greeted.port(),
       [&] { return PumpUntil([&] { return greeted.ReceivedBytes() >= 5; }, kEventMs); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state);
    window.messages.clear();
    adb.SetScenario(c.adbScenario);
    adbRuns = adb.Pids().size();
    worker.SetEndpoint("127.0.0.1", c.port);
    worker.Start(&phone);
    ASSERT_TRUE(c.reached()) << "the run never got into this state";

    const ULONGLONG before = GetTickCount64();
    worker.Stop();
    EXPECT_LT(GetTickCount64() - before, kStopBoundMs);
    EXPECT_FALSE(worker.IsRunning());
    ASSERT_TRUE(WaitFor(WM_STREAM_DISCONNECTED)) << "a stopped run ends as a disconnection";
    EXPECT_EQ(window.Count(WM_STREAM_CONNECT_FAILED), 0u) << "a stop is not a failure";
    EXPECT_EQ(worker.GetErrorText(), "");
  }
}

TEST_F(StreamWorkerTest, StartWhileARunLivesWaitsForItToEnd) {
  Connect(kRestartSim);
  ASSERT_TRUE(WaitFor(WM_STREAM_CONNECTED));
  ASSERT_NE(WaitForFrame(), nullptr);

  worker.Start(&phone);  // the first run is still streaming
  // The first run's thread has ended before Start returned: its
  // disconnection is already in the queue.
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, window.hwnd(), WM_STREAM_DISCONNECTED, WM_STREAM_DISCONNECTED, PM_REMOVE));
  // The second run connects to the same phone once it has noticed the first left.
  ASSERT_TRUE(WaitFor(WM_STREAM_CONNECTED, 2));
  ASSERT_NE(WaitForFrame(), nullptr);
  worker.Stop();
  EXPECT_EQ(window.Count(WM_STREAM_CONNECT_FAILED), 0u);
}

TEST_F(StreamWorkerTest, StopWithoutARunAndRepeatedStopsAreHarmless) {
  worker.Stop();
  worker.Stop();
  EXPECT_FALSE(worker.IsRunning());
  EXPECT_TRUE(window.messages.empty());
}

}  // namespace
