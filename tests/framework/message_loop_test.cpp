// The message loop: the quit code, message filters, idle handlers and which
// messages re-arm idling.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/message_loop.h"
#include "framework/window.h"
#include "framework/worker_thread.h"

namespace {

constexpr UINT kPing = WM_APP + 10;
constexpr UINT kQuitWith = WM_APP + 12;
constexpr UINT_PTR kTimer = 1;

// Records what reaches it, so tests can check the order of events.
class LogWindow : public CWindowImpl<LogWindow> {
 public:
  std::vector<std::string>* log = nullptr;
  BEGIN_MSG_MAP(LogWindow)
    MESSAGE_HANDLER(kPing, OnPing)
    MESSAGE_HANDLER(kQuitWith, OnQuitWith)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
  END_MSG_MAP()
  LRESULT OnPing(UINT, WPARAM w, LPARAM, BOOL&) {
    log->push_back("ping" + std::to_string(w));
    return 0;
  }
  LRESULT OnQuitWith(UINT, WPARAM w, LPARAM, BOOL&) {
    PostQuitMessage(static_cast<int>(w));
    return 0;
  }
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&) {
    log->push_back("mousemove");
    return 0;
  }
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&) {
    KillTimer(kTimer);
    log->push_back("timer");
    return 0;
  }
};

// An idle handler driven by a script of actions, one per call.
class ScriptedIdle : public CIdleHandler {
 public:
  std::vector<std::function<BOOL()>> script;
  std::vector<std::string>* log = nullptr;
  int calls = 0;
  BOOL OnIdle() override {
    log->push_back("idle");
    return calls < static_cast<int>(script.size()) ? script[calls++]() : FALSE;
  }
};

class LoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.log = &log;
    ASSERT_TRUE(window.Create(nullptr, RECT{0, 0, 100, 100}, "", WS_POPUP));
  }
  // Runs the loop with an idle handler that performs one scripted action per
  // call; the last action posts the quit message.
  void RunWithIdleScript(std::vector<std::function<BOOL()>> script) {
    ScriptedIdle idle;
    idle.log = &log;
    idle.script = std::move(script);
    idle.script.push_back([this] {
      window.PostMessage(kQuitWith, 0);
      return FALSE;
    });
    loop.AddIdleHandler(&idle);
    loop.Run();
    loop.RemoveIdleHandler(&idle);
  }

  std::vector<std::string> log;
  LogWindow window;
  CMessageLoop loop;
};

// A filter that takes one message value and logs what it sees.
class TakingFilter : public CMessageFilter {
 public:
  TakingFilter(std::vector<std::string>* log, std::string name, UINT takes)
      : log_(log), name_(std::move(name)), takes_(takes) {}
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message != kPing && msg->message != kPing + 1) return FALSE;
    log_->push_back(name_ + ":" + std::to_string(msg->wParam));
    return msg->message == takes_;
  }

 private:
  std::vector<std::string>* log_;
  std::string name_;
  UINT takes_;
};

TEST_F(LoopTest, RunReturnsTheQuitCode) {
  window.PostMessage(kQuitWith, 2);
  EXPECT_EQ(loop.Run(), 2);
}

TEST_F(LoopTest, FiltersSeeMessagesNewestFirstAndTheFirstTrueWins) {
  TakingFilter older(&log, "older", kPing + 1);
  TakingFilter newer(&log, "newer", kPing);
  loop.AddMessageFilter(&older);
  loop.AddMessageFilter(&newer);
  window.PostMessage(kPing, 1);      // taken by the newer filter
  window.PostMessage(kPing + 1, 2);  // passes the newer, taken by the older
  window.PostMessage(kQuitWith, 0);
  loop.Run();
  EXPECT_EQ(log, (std::vector<std::string>{"newer:1", "newer:2", "older:2"}));
}

TEST_F(LoopTest, RemovedFilterNoLongerSeesMessages) {
  TakingFilter filter(&log, "f", kPing);
  EXPECT_TRUE(loop.AddMessageFilter(&filter));
  EXPECT_FALSE(loop.AddMessageFilter(&filter));  // once only
  EXPECT_TRUE(loop.RemoveMessageFilter(&filter));
  window.PostMessage(kPing, 5);
  window.PostMessage(kQuitWith, 0);
  loop.Run();
  EXPECT_EQ(log, (std::vector<std::string>{"ping5"}));
}

TEST_F(LoopTest, IdleRunsWhenTheQueueEmptiesAndAfterOrdinaryMessages) {
  RunWithIdleScript({[&] {
    window.PostMessage(kPing, 1);
    return FALSE;
  }});
  EXPECT_EQ(log, (std::vector<std::string>{"idle", "ping1", "idle"}));
}

TEST_F(LoopTest, MouseMovesDoNotReArmIdling) {
  // The timer message is generated only once the queue is empty, so it comes
  // after the loop has decided whether the mouse move re-armed idling.
  RunWithIdleScript({[&] {
    window.PostMessage(WM_MOUSEMOVE, 0, 0);
    window.SetTimer(kTimer, 10);
    return FALSE;
  }});
  EXPECT_EQ(log, (std::vector<std::string>{"idle", "mousemove", "timer", "idle"}));
}

TEST_F(LoopTest, IdleHandlerAskingForMoreIsCalledAgainBeforeWaiting) {
  RunWithIdleScript({[] { return TRUE; }, [] { return TRUE; }});
  EXPECT_EQ(log, (std::vector<std::string>{"idle", "idle", "idle"}));
}

TEST(IdleMessages, OnlyMouseMovesPaintAndCaretTimerKeepIdlingOff) {
  for (UINT m : {UINT(WM_MOUSEMOVE), UINT(WM_NCMOUSEMOVE), UINT(WM_PAINT), UINT(0x0118)}) {
    MSG msg{nullptr, m};
    EXPECT_FALSE(CMessageLoop::IsIdleMessage(&msg)) << m;
  }
  for (UINT m : {UINT(WM_TIMER), UINT(WM_KEYDOWN), UINT(WM_LBUTTONDOWN), UINT(WM_APP)}) {
    MSG msg{nullptr, m};
    EXPECT_TRUE(CMessageLoop::IsIdleMessage(&msg)) << m;
  }
}

TEST(AppModuleLoops, OneLoopPerThread) {
  CMessageLoop a, b;
  ASSERT_TRUE(AppModule().AddMessageLoop(&a));
  EXPECT_FALSE(AppModule().AddMessageLoop(&b));
  EXPECT_EQ(AppModule().GetMessageLoop(), &a);

  CMessageLoop* seenFromOtherThread = &b;
  DWORD mainThread = GetCurrentThreadId();
  WorkerThread other;
  ASSERT_TRUE(other.Start([&] { seenFromOtherThread = AppModule().GetMessageLoop(); }));
  other.Join();
  EXPECT_EQ(seenFromOtherThread, nullptr);
  EXPECT_EQ(AppModule().GetMessageLoop(mainThread), &a);
  EXPECT_TRUE(AppModule().RemoveMessageLoop());
  EXPECT_EQ(AppModule().GetMessageLoop(), nullptr);
}

}  // namespace
