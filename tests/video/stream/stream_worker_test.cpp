#include "video/stream_worker.h"

#include <gtest/gtest.h>

#include "config/core/app_globals.h"
#include "config/core/app_messages.h"
#include "tests/video/stream/stream_test_support.h"
#include "tools/phone_simulator/test_pattern.h"

namespace {

using test_pattern::ClassifyCornerColour;
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
  DeviceInfo phone = AndroidPhone();
};

test_pattern::Rgb PixelOf(const VideoFrame& f, int row, int col) {
  const uint8_t* p = f.bits() + static_cast<ptrdiff_t>(f.height() - 1 - row) * f.stride() + col * 3;
  return {p[2], p[1], p[0]};
}

// The corner patch seen at each output corner, sampled well inside it.
struct Corners {
  int topLeft, topRight, bottomLeft, bottomRight;
};
Corners CornersOf(const VideoFrame& f) {
  const int dx = f.width() / 10, dy = f.height() / 10;
  return {ClassifyCornerColour(PixelOf(f, dy, dx)), ClassifyCornerColour(PixelOf(f, dy, f.width() - 1 - dx)),
          ClassifyCornerColour(PixelOf(f, f.height() - 1 - dy, dx)),
          ClassifyCornerColour(PixelOf(f, f.height() - 1 - dy, f.width() - 1 - dx))};
}

TEST_F(StreamWorkerTest, FramesShowTheCornersForEveryPhoneFlagAndUserToggle) {
  struct Sim {
    int port, reverseV, reverseH;
  };
  for (Sim sim :
       {Sim{kPlainSim, 0, 0}, Sim{kReverseVSim, 1, 0}, Sim{kReverseHSim, 0, 1}, Sim{kReverseBothSim, 1, 1}})
    for (int userMirror = 0; userMirror < 2; ++userMirror)
      for (int userFlip = 0; userFlip < 2; ++userFlip) {
        SCOPED_TRACE("reverse_v " + std::to_string(sim.reverseV) + " reverse_h " +
                     std::to_string(sim.reverseH) + " user mirror " + std::to_string(userMirror) +
                     " user flip " + std::to_string(userFlip));
        window.messages.clear();
        worker.SetUserFlip(userMirror, userFlip);
        Connect(sim.port);
        ASSERT_TRUE(WaitFor(WM_STREAM_CONNECTED));
        EXPECT_TRUE(worker.IsRunning());
        const VideoFrame* frame = WaitForFrame();
        ASSERT_NE(frame, nullptr) << "no frame arrived";
        EXPECT_EQ(frame->width(), 1280);
        EXPECT_EQ(frame->height(), 720);

        const bool flip = (sim.reverseV != 0) != (userFlip != 0);
        const bool mirror = (sim.reverseH != 0) != (userMirror != 0);
        // Which source corner each output corner shows.
        auto source = [&](bool top, bool left) {
          const bool srcTop = top != flip, srcLeft = left != mirror;
          return srcTop ? (srcLeft ? test_pattern::kTopLeft : test_pattern::kTopRight)
                        : (srcLeft ? test_pattern::kBottomLeft : test_pattern::kBottomRight);
        };
        const Corners c = CornersOf(*frame);
        EXPECT_STREQ(CornerColourName(c.topLeft), CornerColourName(source(true, true)));
        EXPECT_STREQ(CornerColourName(c.topRight), CornerColourName(source(true, false)));
        EXPECT_STREQ(CornerColourName(c.bottomLeft), CornerColourName(source(false, true)));
        EXPECT_STREQ(CornerColourName(c.bottomRight), CornerColourName(source(false, false)));

        worker.Stop();
        EXPECT_FALSE(worker.IsRunning());
        ASSERT_TRUE(WaitFor(WM_STREAM_DISCONNECTED));
        EXPECT_EQ(window.Count(WM_STREAM_CONNECT_FAILED), 0u);
      }
}

TEST_F(StreamWorkerTest, PortraitModeTurnsTheLandscapeStreamFromTheNextPicture) {
  Connect(kPlainSim);
  ASSERT_TRUE(WaitFor(WM_STREAM_CONNECTED));
  const VideoFrame* frame = WaitForFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->width(), 1280);
  worker.SetPortrait(true);
  ASSERT_TRUE(PumpUntil(
      [&] {
        frame = worker.TakeNextFrame();
        return frame->width() == 720;
      },
      kEventMs));
  EXPECT_EQ(frame->height(), 1280);
  // A quarter turn clockwise: the red top-left patch is now at the top right.
  const Corners c = CornersOf(*frame);
  EXPECT_STREQ(CornerColourName(c.topRight), "red");
  EXPECT_STREQ(CornerColourName(c.bottomLeft), "white");
  worker.SetPortrait(false);
}

TEST_F(StreamWorkerTest, PhoneTurnedMidStreamKeepsTheOutputSizeAndTurnsThePicture) {
  // The phone's picture alternates between 640x360 and 360x640 (each a new
  // sequence). In landscape output the portrait pictures are turned a
  // quarter clockwise; every frame shows one of the two corner layouts.
  Connect(kRotatingSim);
  ASSERT_TRUE(WaitFor(WM_STREAM_CONNECTED));
  int upright = 0, turned = 0, other = 0;
  const VideoFrame* previous = worker.TakeNextFrame();
  PumpUntil(
      [&] {
        const VideoFrame* f = worker.TakeNextFrame();
        if (f == previous) return false;
        previous = f;
        EXPECT_EQ(f->width(), 1280);
        EXPECT_EQ(f->height(), 720);
        const Corners c = CornersOf(*f);
        if (c.topLeft == test_pattern::kTopLeft && c.topRight == test_pattern::kTopRight &&
            c.bottomLeft == test_pattern::kBottomLeft && c.bottomRight == test_pattern::kBottomRight)
          ++upright;
        else if (c.topLeft == test_pattern::kBottomLeft && c.topRight == test_pattern::kTopLeft &&
                 c.bottomLeft == test_pattern::kBottomRight && c.bottomRight == test_pattern::kTopRight)
          ++turned;
        else
          ++other;
        return upright >= 3 && turned >= 3;
      },
      kEventMs);
  EXPECT_GE(upright, 3);
  EXPECT_GE(turned, 3);
  EXPECT_EQ(other, 0) << "frames with neither layout";
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

TEST_F(StreamWorkerTest, NullDeviceFailsWithTheShortText) {
  worker.Start(nullptr);
  ASSERT_TRUE(WaitFor(WM_STREAM_CONNECT_FAILED));
  EXPECT_EQ(worker.GetErrorText(), "同步失败！");
  EXPECT_EQ(worker.device(), nullptr);
  EXPECT_EQ(window.Count(WM_STREAM_CONNECTED), 0u);
  ASSERT_TRUE(PumpUntil([&] { return !worker.IsRunning(); }, kEventMs));
}

TEST_F(StreamWorkerTest, NoListenerFailsWithTheBuiltInHint) {
  Connect(kNoListener);
  ASSERT_TRUE(WaitFor(WM_STREAM_CONNECT_FAILED));
  EXPECT_EQ(worker.GetErrorText(),
            "同步失败！请打开Vela相机手机APP并进入直播模式。\nTips：Vela相机APP，首页右滑进入个人中心，"
            "选择「Vela服务 - 直播助手」");
  EXPECT_EQ(window.Count(WM_STREAM_CONNECTED), 0u);
  ASSERT_NE(worker.device(), nullptr);
  EXPECT_EQ(worker.device()->id, "SIM0001");
}

TEST_F(StreamWorkerTest, NoListenerFailsWithTheConfiguredConnTips) {
  SetAppString(AppString::ConnTips, "请先打开手机上的直播模式");
  Connect(kNoListener);
  ASSERT_TRUE(WaitFor(WM_STREAM_CONNECT_FAILED));
  EXPECT_EQ(worker.GetErrorText(), "请先打开手机上的直播模式");
}

TEST_F(StreamWorkerTest, IosPhoneWithoutTheDeviceLibraryFails) {
  DeviceInfo iphone;
  iphone.name = "iPhone";
  iphone.id = "00008030-000000000000002E";
  iphone.kind = kDeviceIos;
  worker.SetEndpoint("127.0.0.1", PortOf(kPlainSim));
  worker.Start(&iphone);
  ASSERT_TRUE(WaitFor(WM_STREAM_CONNECT_FAILED));
  EXPECT_EQ(worker.GetErrorText(), StreamWorker::kDefaultConnectFailedText);
}

TEST_F(StreamWorkerTest, SilentPhoneEndsTheRunWithinAboutTenSeconds) {
  Connect(kSilentSim);
  ASSERT_TRUE(WaitFor(WM_STREAM_CONNECTED));
  const ULONGLONG connected = GetTickCount64();
  ASSERT_TRUE(WaitFor(WM_STREAM_DISCONNECTED));
  const ULONGLONG seconds = (GetTickCount64() - connected) / 1000;
  // The phone goes quiet 1 s after the handshake; the link gives up after 10 s of silence.
  EXPECT_GE(seconds, 5u);   // not at once when the phone merely pauses
  EXPECT_LE(seconds, 16u);  // slack for a loaded machine
  EXPECT_EQ(worker.GetErrorText(), "") << "a dropped link is not a failed connection";
  ASSERT_TRUE(PumpUntil([&] { return !worker.IsRunning(); }, kEventMs));
}

TEST_F(StreamWorkerTest, WrongGreetingFailsTheConnection) {
  Connect(kWrongMagicSim);
  ASSERT_TRUE(WaitFor(WM_STREAM_CONNECT_FAILED));
  EXPECT_EQ(worker.GetErrorText(), StreamWorker::kDefaultConnectFailedText);
  EXPECT_EQ(window.Count(WM_STREAM_CONNECTED), 0u);
}

TEST_F(StreamWorkerTest, PhoneClosingInTheMiddleOfAFrameEndsTheRun) {
  Connect(kCloseMidFrameSim);
  ASSERT_TRUE(WaitFor(WM_STREAM_CONNECTED));
  const ULONGLONG connected = GetTickCount64();
  ASSERT_TRUE(WaitFor(WM_STREAM_DISCONNECTED));
  EXPECT_LT(GetTickCount64() - connected, 5000u)
      << "a closed link ends the run at once, not after the silence time-out";
  ASSERT_TRUE(PumpUntil([&] { return !worker.IsRunning(); }, kEventMs));
}

TEST_F(StreamWorkerTest, OversizeFrameEndsTheRunWithoutWaitingForIt) {
  Connect(kOversizeSim);
  ASSERT_TRUE(WaitFor(WM_STREAM_CONNECTED));
  const ULONGLONG connected = GetTickCount64();
  ASSERT_TRUE(WaitFor(WM_STREAM_DISCONNECTED));
  EXPECT_LT(GetTickCount64() - connected, 5000u) << "the length is refused, not read for";
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

  {
    DeadlockWatchdog watchdog("Stop during a command delivery", 30000);
    worker.Stop();  // must deliver the command while it waits for the thread
  }
  EXPECT_FALSE(worker.IsRunning());
  ASSERT_EQ(window.commands.size(), 1u);
  EXPECT_EQ(window.commands[0], kSimulatorCommand);
  ASSERT_TRUE(WaitFor(WM_STREAM_DISCONNECTED));
  EXPECT_EQ(window.Count(WM_STREAM_CONNECTED), 1u);
}

TEST_F(StreamWorkerTest, StartWhileARunLivesWaitsForItToEnd) {
  Connect(kRestartSim);
  ASSERT_TRUE(WaitFor(WM_STREAM_CONNECTED));
  ASSERT_NE(WaitForFrame(), nullptr);

  {
    DeadlockWatchdog watchdog("Start while a run streams", 30000);
    worker.Start(&phone);  // the first run is still streaming
  }
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
