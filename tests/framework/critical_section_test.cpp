// CriticalSection: recursion, TryLock from another thread, and a destructor
// that waits for the current holder.
#include <gtest/gtest.h>

#include <atomic>

#include "framework/critical_section.h"
#include "framework/handles.h"
#include "framework/worker_thread.h"

namespace {

bool TryLockFromOtherThread(CriticalSection& cs) {
  std::atomic<bool> got{false};
  WorkerThread t;
  t.Start([&] {
    got = cs.TryLock();
    if (got) cs.Unlock();
  });
  t.Join();
  return got;
}

TEST(CriticalSection, IsRecursiveAndHeldUntilTheLastUnlockOfTheScope) {
  CriticalSection cs;
  {
    ScopedLock hold(cs);
    EXPECT_TRUE(cs.TryLock());  // same thread: recursion
    cs.Unlock();
    EXPECT_FALSE(TryLockFromOtherThread(cs));
  }
  EXPECT_TRUE(TryLockFromOtherThread(cs));
}

TEST(CriticalSection, DestructorWaitsForTheHolder) {
  auto* cs = new CriticalSection;
  UniqueHandle held(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  UniqueHandle release(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  std::atomic<bool> holderLeft{false};

  WorkerThread holder;
  holder.Start([&] {
    cs->Lock();
    SetEvent(held.get());
    WaitForSingleObject(release.get(), 10000);
    holderLeft = true;
    cs->Unlock();
  });
  ASSERT_EQ(WaitForSingleObject(held.get(), 10000), WAIT_OBJECT_0);

  WorkerThread destroyer;
  destroyer.Start([&] {
    delete cs;
    EXPECT_TRUE(holderLeft.load());
  });
  // The destroyer must still be blocked while the holder holds the lock.
  EXPECT_EQ(WaitForSingleObject(destroyer.handle(), 200), DWORD(WAIT_TIMEOUT));
  SetEvent(release.get());
  destroyer.Join();
  holder.Join();
}

}  // namespace
