// Worker threads and the pumping wait: a window thread waits for a worker
// that is blocked in SendMessage to one of its windows.
#include <gtest/gtest.h>

#include <atomic>

#include "framework/window.h"
#include "framework/worker_thread.h"

namespace {

constexpr UINT kSent = WM_APP + 30;
constexpr UINT kPosted = WM_APP + 31;

class Receiver : public CWindowImpl<Receiver> {
 public:
  DWORD handledOnThread = 0;
  BEGIN_MSG_MAP(Receiver)
    MESSAGE_HANDLER(kSent, OnSent)
  END_MSG_MAP()
  LRESULT OnSent(UINT, WPARAM w, LPARAM, BOOL&) {
    handledOnThread = GetCurrentThreadId();
    return static_cast<LRESULT>(w + 1);
  }
};

// The worker's sent message is handled on the waiting thread while its posted
// one stays queued for the loop.
TEST(PumpingJoin, WorkerSendingToTheWaitingThreadFinishes) {
  Receiver window;
  ASSERT_TRUE(window.Create(nullptr, RECT{0, 0, 10, 10}, "", WS_POPUP));
  HWND target = window;
  std::atomic<LRESULT> answer{0};
  WorkerThread worker;
  ASSERT_TRUE(worker.Start([&] {
    PostMessageA(target, kPosted, 0, 0);
    answer = SendMessageA(target, kSent, 41, 0);
  }));
  ASSERT_TRUE(worker.JoinPumping(10000));
  EXPECT_EQ(answer.load(), 42);
  EXPECT_EQ(window.handledOnThread, GetCurrentThreadId());
  EXPECT_FALSE(worker.IsRunning());
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, target, kPosted, kPosted, PM_REMOVE)) << "still queued, not dispatched";
  UniqueHandle never(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  EXPECT_EQ(WaitPumpingSentMessages(never.get(), 20), DWORD(WAIT_TIMEOUT));
}

TEST(WorkerThreadLife, OneThreadAtATimeUntilJoinedAndTheDestructorJoins) {
  UniqueHandle release(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  HANDLE r = release.get();
  std::atomic<bool> ran{false};
  {
    WorkerThread worker;
    ASSERT_TRUE(worker.Start([r] { WaitForSingleObject(r, 10000); }));
    EXPECT_TRUE(worker.IsRunning());
    EXPECT_FALSE(worker.Start([] {}));
    SetEvent(r);
    worker.Join();
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(worker.handle(), nullptr);
    ASSERT_TRUE(worker.Start([&] { ran = true; }));
  }
  EXPECT_TRUE(ran);
}

}  // namespace
