// The message loop: the quit code, message filters, idle handlers and which
// messages re-arm idling; one loop per thread in the module.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/message_loop.h"
#include "framework/window.h"
#include "framework/worker_thread.h"

namespace {

constexpr UINT kPing = WM_APP + 10;  // kPing, kPing + 1 and kPing + 2 are logged
constexpr UINT_PTR kTimer = 1;

using Log = std::vector<std::string>;

// Logs what reaches it, so tests can check the order of events.
class LogWindow : public CWindowImpl<LogWindow> {
 public:
  Log log;
  BEGIN_MSG_MAP(LogWindow)
    MESSAGE_RANGE_HANDLER(kPing, kPing + 2, OnLogged)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnLogged)
    MESSAGE_HANDLER(WM_TIMER, OnLogged)
  END_MSG_MAP()
  LRESULT OnLogged(UINT msg, WPARAM w, LPARAM, BOOL&) {
    if (msg == WM_TIMER) KillTimer(kTimer);
    log.push_back(msg == WM_TIMER ? "timer" : msg == WM_MOUSEMOVE ? "mousemove" : "ping" + std::to_string(w));
    return 0;
  }
};

// Logs the pings it sees and takes the one message value it is given.
struct TakingFilter : CMessageFilter {
  TakingFilter(Log* log, const char* name, UINT takes) : log_(log), name_(name), takes_(takes) {}
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message < kPing || msg->message > kPing + 2) return FALSE;
    log_->push_back(name_ + ":" + std::to_string(msg->wParam));
    return msg->message == takes_;
  }
  Log* log_;
  std::string name_;
  UINT takes_;
};

TEST(MessageLoop, FiltersSeeMessagesNewestFirstTheFirstTrueWinsAndRunReturnsTheQuitCode) {
  LogWindow window;
  ASSERT_TRUE(window.Create(nullptr, RECT{0, 0, 100, 100}, "", WS_POPUP));
  CMessageLoop loop;
  TakingFilter older(&window.log, "older", kPing + 1), newer(&window.log, "newer", kPing);
  TakingFilter removed(&window.log, "removed", 0);
  EXPECT_TRUE(loop.AddMessageFilter(&older));
  EXPECT_TRUE(loop.AddMessageFilter(&removed));
  EXPECT_FALSE(loop.AddMessageFilter(&removed));  // once only
  EXPECT_TRUE(loop.RemoveMessageFilter(&removed));
  EXPECT_TRUE(loop.AddMessageFilter(&newer));
  for (WPARAM i = 0; i < 3; ++i) window.PostMessage(kPing + static_cast<UINT>(i), i);
  PostQuitMessage(2);  // seen once the posted messages are handled
  EXPECT_EQ(loop.Run(), 2);
  EXPECT_EQ(window.log, (Log{"newer:0", "newer:1", "older:1", "newer:2", "older:2", "ping2"}));
}

// An idle handler that follows a script, one step per call: the messages to
// post (WM_TIMER starts a timer instead); an empty step asks to be called
// again. After the script it posts the quit message.
class ScriptedIdle : public CIdleHandler {
 public:
  ScriptedIdle(LogWindow& window, std::vector<std::vector<UINT>> script)
      : window_(window), script_(std::move(script)) {}
  BOOL OnIdle() override {
    window_.log.push_back("idle");
    if (calls_ == script_.size()) {
      PostQuitMessage(0);
      return FALSE;
    }
    const std::vector<UINT>& posts = script_[calls_++];
    for (UINT m : posts) {
      if (m == WM_TIMER)
        window_.SetTimer(kTimer, 10);
      else
        window_.PostMessage(m, 0, 0);
    }
    return posts.empty();
  }

 private:
  LogWindow& window_;
  std::vector<std::vector<UINT>> script_;
  size_t calls_ = 0;
};

TEST(MessageLoop, IdleRunsWhenTheQueueEmptiesAgainAfterOrdinaryMessagesAndWhileAsked) {
  // The timer message is generated only once the queue is empty, so it comes
  // after the loop has decided whether the mouse move re-armed idling.
  const struct {
    const char* name;
    std::vector<std::vector<UINT>> script;
    Log expected;
  } cases[] = {
      {"an ordinary message re-arms idling", {{kPing}}, {"idle", "ping0", "idle"}},
      {"mouse moves do not", {{WM_MOUSEMOVE, WM_TIMER}}, {"idle", "mousemove", "timer", "idle"}},
      {"a handler asking for more is called again before waiting", {{}, {}}, {"idle", "idle", "idle"}},
  };
  for (const auto& c : cases) {
    LogWindow window;
    ASSERT_TRUE(window.Create(nullptr, RECT{0, 0, 100, 100}, "", WS_POPUP));
    CMessageLoop loop;
    ScriptedIdle idle(window, c.script);
    loop.AddIdleHandler(&idle);
    loop.Run();
    EXPECT_EQ(window.log, c.expected) << c.name;
  }
}

TEST(MessageLoop, OnlyMouseMovesPaintAndCaretTimerKeepIdlingOff) {
  auto isIdle = [](UINT message) {
    MSG msg{nullptr, message};
    return CMessageLoop::IsIdleMessage(&msg);
  };
  for (UINT m : {WM_MOUSEMOVE, WM_NCMOUSEMOVE, WM_PAINT, 0x0118 /* caret blink */})
    EXPECT_FALSE(isIdle(m)) << m;
  for (UINT m : {WM_TIMER, WM_KEYDOWN, WM_LBUTTONDOWN, WM_APP}) EXPECT_TRUE(isIdle(m)) << m;
}

TEST(AppModuleLoops, OneLoopPerThread) {
  CMessageLoop a, b;
  ASSERT_TRUE(AppModule().AddMessageLoop(&a));
  EXPECT_FALSE(AppModule().AddMessageLoop(&b));
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
