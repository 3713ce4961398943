// The writing side over loopback: when nothing may be written, writers on many threads, and
// LinkReader::Current while the reader goes away. Frame bytes themselves are checked in the portable tests.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "framework/handles.h"
#include "link/link_reader.h"
#include "tests/support/fake_phone.h"

using fake::FakePhone;

constexpr unsigned kWaitMs = 10000;

TEST(LinkReaderWriteTest, NothingIsWrittenBeforeTheGreetingAfterCloseOrForInvalidArguments) {
  FakePhone phone;
  LinkReader reader;
  EXPECT_EQ(reader.WriteMessage(LinkMessageType::Command, "x", 1), 0);
  ASSERT_TRUE(phone.ConnectGreeted(reader));
  EXPECT_EQ(reader.WriteMessage(LinkMessageType::Video, nullptr, 10), 0);
  EXPECT_EQ(reader.WriteMessage(LinkMessageType::Video, "abc", -3), 0);
  EXPECT_EQ(reader.WriteMessage(LinkMessageType::Command, "ok", 2), 1);
  reader.Close();
  EXPECT_EQ(reader.IsConnected(), 0);
  EXPECT_EQ(reader.WriteMessage(LinkMessageType::Command, "x", 1), 0);
  reader.Close();  // a second Close is harmless
  ASSERT_TRUE(phone.WaitForDesktopClose(kWaitMs));
  EXPECT_EQ(phone.Received(), std::string("LNK10\0\0\0\0", 9) + Frame(4, "ok"));
}

TEST(LinkReaderWriteTest, ManyWritersAndHeartbeatsKeepEveryFrameWhole) {
  FakePhone phone;
  LinkReader reader;
  ASSERT_TRUE(phone.ConnectGreeted(reader));

  constexpr int kThreads = 6;
  std::atomic<bool> stop{false};
  std::vector<int> written(kThreads, 0);
  std::vector<int> failures(kThreads, 0);
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t) {
    writers.emplace_back([&, t] {
      std::mt19937 rng(t + 1);
      // Paced so that the run spans two heartbeats without piling up megabytes.
      for (int seq = 0; !stop.load() && seq < 100000; ++seq) {
        // "<thread>:<seq>:" then a filler of the thread's own letter.
        const std::string payload = std::to_string(t) + ":" + std::to_string(seq) + ":" +
                                    std::string(rng() % 3000, static_cast<char>('a' + t));
        if (reader.WriteMessage(LinkMessageType::Command, payload.data(),
                                static_cast<int32_t>(payload.size())) != 1)
          ++failures[t];
        written[t] = seq + 1;
        if (seq % 4 == 0) Sleep(1);
      }
    });
  }
  // Let the writers run until the phone has seen two heartbeats among their frames.
  const bool heartbeats = phone.WaitForFrames(5, 2, 3 * kWaitMs);
  stop = true;
  for (std::thread& w : writers) w.join();
  ASSERT_TRUE(heartbeats);
  reader.Close();
  ASSERT_TRUE(phone.WaitForDesktopClose(kWaitMs));

  std::vector<int> next(kThreads, 0);
  size_t bytes = 9;
  for (const fake::ReceivedFrame& frame : phone.Frames()) {
    bytes += 8 + frame.payload.size();
    int t = -1, seq = -1, used = 0;
    if (frame.type == 5 && frame.payload.empty()) continue;
    ASSERT_EQ(frame.type, 4u);
    ASSERT_EQ(sscanf(frame.payload.c_str(), "%d:%d:%n", &t, &seq, &used), 2) << frame.payload.substr(0, 40);
    ASSERT_TRUE(t >= 0 && t < kThreads);
    EXPECT_EQ(seq, next[t]++) << "thread " << t;
    EXPECT_EQ(frame.payload.find_first_not_of(static_cast<char>('a' + t), used), std::string::npos);
  }
  EXPECT_EQ(bytes, phone.Received().size());  // nothing left over: no partial frame
  EXPECT_EQ(failures, std::vector<int>(kThreads, 0));
  EXPECT_EQ(next, written);
}

// The panel's sender keeps writing through Current while the stream thread
// closes and destroys the reader: no write may reach a destroyed reader, and
// once it is gone every write returns 0.
TEST(LinkReaderCurrentTest, ReaderDestroyedWhileASenderWritesThroughCurrent) {
  for (int round = 0; round < 15; ++round) {
    FakePhone phone;
    auto reader = std::make_unique<LinkReader>();
    ASSERT_TRUE(phone.ConnectGreeted(*reader));

    UniqueHandle started(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    std::atomic<bool> gone{false};
    int okAfterGone = 0;
    std::thread sender([&] {
      int sent = 0;
      // Writes until it has made 200 attempts after the reader was gone.
      for (int attemptsAfterGone = 0; attemptsAfterGone < 200;) {
        const bool wasGone = gone.load();
        const int ok = LinkReader::Current.WriteMessage(LinkMessageType::Command, "<n/>", 4);
        if (wasGone) {
          ++attemptsAfterGone;
          okAfterGone += ok;
        }
        if (ok && ++sent == 20) SetEvent(started.get());
      }
    });
    ASSERT_EQ(WaitForSingleObject(started.get(), kWaitMs), static_cast<DWORD>(WAIT_OBJECT_0));
    if (round % 2) reader->Close();  // the stream thread's order: Close, then destroy
    reader.reset();
    gone = true;
    EXPECT_FALSE(LinkReader::Current);
    sender.join();
    EXPECT_EQ(okAfterGone, 0);
  }
}
