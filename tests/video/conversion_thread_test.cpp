#include "video/conversion_thread.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "framework/critical_section.h"
#include "tests/video/test_pictures.h"

namespace {

// Records the red value of each picture it gets; while the gate is closed,
// each call first says it has started and then waits for the gate.
class GatedTarget : public IFrameBuffer {
 public:
  void OnFrame(const AVFrame* picture) override {
    SetEvent(entered_.get());
    WaitForSingleObject(gate_.get(), 10000);
    ScopedLock hold(lock_);
    received_.push_back(picture->data[0][0]);
    SetEvent(received_event_.get());
  }
  int IsFull() override { return 0; }

  // Closes the gate; WaitEntered then waits for the next call.
  void Close() {
    ResetEvent(gate_.get());
    ResetEvent(entered_.get());
  }
  void Open() { SetEvent(gate_.get()); }
  bool WaitEntered() { return WaitForSingleObject(entered_.get(), 10000) == WAIT_OBJECT_0; }
  // Waits until `count` pictures have arrived; the values received by then.
  std::vector<int> WaitReceived(size_t count) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000;) {
      {
        ScopedLock hold(lock_);
        if (received_.size() >= count) return received_;
      }
      WaitForSingleObject(received_event_.get(), 100);
    }
    ScopedLock hold(lock_);
    return received_;
  }

 private:
  UniqueHandle gate_{CreateEventW(nullptr, TRUE, TRUE, nullptr)};
  UniqueHandle entered_{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  UniqueHandle received_event_{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  CriticalSection lock_;
  std::vector<int> received_;
};

AvFramePtr Picture(uint8_t value) {
  return MakeRgbPicture(16, 16, [value](int, int) { return Rgb{value, 0, 0}; });
}

TEST(ConversionThread, BusyConversionSkipsToTheNewestPictureAndStopDropsTheWaitingOne) {
  std::vector<AvFramePtr> pictures;
  for (uint8_t v = 1; v <= 7; ++v) pictures.push_back(Picture(v));
  GatedTarget target;
  ConversionThread conversion(&target);
  conversion.OnFrame(pictures[0].get());  // not started: ignored
  ASSERT_TRUE(conversion.Start());

  // Picture 1 is being converted while 2, 3 and 4 arrive: only 4 waits.
  target.Close();
  conversion.OnFrame(pictures[0].get());
  ASSERT_TRUE(target.WaitEntered());
  for (int i = 1; i <= 3; ++i) conversion.OnFrame(pictures[i].get());
  EXPECT_EQ(conversion.Skipped(), 2u);
  target.Open();
  EXPECT_EQ(target.WaitReceived(2), (std::vector<int>{1, 4}));

  // A stop while 5 is being converted and 6 waits: 5 finishes, 6 is dropped.
  target.Close();
  conversion.OnFrame(pictures[4].get());
  ASSERT_TRUE(target.WaitEntered());
  conversion.OnFrame(pictures[5].get());
  std::thread stopper([&] { conversion.Stop(); });
  // Stop drops the waiting picture, then joins: let the picture in progress finish.
  for (DWORD start = GetTickCount(); conversion.IsRunning() && GetTickCount() - start < 10000;) Sleep(1);
  target.Open();
  stopper.join();
  conversion.OnFrame(pictures[6].get());  // stopped: ignored
  EXPECT_EQ(target.WaitReceived(3), (std::vector<int>{1, 4, 5}));

  // It starts again for the next run.
  ASSERT_TRUE(conversion.Start());
  conversion.OnFrame(pictures[6].get());
  EXPECT_EQ(target.WaitReceived(4), (std::vector<int>{1, 4, 5, 7}));
}

}  // namespace
