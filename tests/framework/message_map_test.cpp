// Message maps: dispatch to handlers, the handled flag, command ids, chaining,
// the generated window class and the end of a window's life.
#include <gtest/gtest.h>

#include <string>

#include "framework/window.h"

namespace {

constexpr UINT kAnswer = WM_APP + 1;
constexpr UINT kBaseOnly = WM_APP + 2;
constexpr UINT kDestroySelf = WM_APP + 3;

class BaseWindow : public CWindowImpl<BaseWindow> {
 public:
  int baseCalls = 0;
  BEGIN_MSG_MAP(BaseWindow)
    MESSAGE_HANDLER(kBaseOnly, OnBaseOnly)
  END_MSG_MAP()
  LRESULT OnBaseOnly(UINT, WPARAM, LPARAM, BOOL&) {
    ++baseCalls;
    return 7;
  }
};

class TestWindow : public CWindowImpl<TestWindow> {
 public:
  int setTextCalls = 0;
  bool passSetTextOn = true;
  WORD lastCommandId = 0;
  WORD lastCommandCode = 0;
  int finalMessages = 0;
  HWND finalHandle = nullptr;
  bool touchedAfterDestroy = false;

  BEGIN_MSG_MAP(TestWindow)
    MESSAGE_HANDLER(kAnswer, OnAnswer)
    MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
    MESSAGE_HANDLER(kDestroySelf, OnDestroySelf)
    COMMAND_ID_HANDLER(7, OnCommand7)
  END_MSG_MAP()

  void OnFinalMessage(HWND wnd) override {
    ++finalMessages;
    finalHandle = wnd;
  }

 private:
  LRESULT OnAnswer(UINT, WPARAM w, LPARAM l, BOOL&) { return static_cast<LRESULT>(w + l); }
  LRESULT OnSetText(UINT, WPARAM, LPARAM, BOOL& handled) {
    ++setTextCalls;
    handled = passSetTextOn ? FALSE : TRUE;
    return TRUE;
  }
  LRESULT OnDestroySelf(UINT, WPARAM, LPARAM, BOOL&) {
    DestroyWindow();
    // The object must still be usable here: detaching waits for this handler.
    touchedAfterDestroy = (finalMessages == 0);
    return 0;
  }
  LRESULT OnCommand7(WORD code, WORD id, HWND, BOOL&) {
    lastCommandId = id;
    lastCommandCode = code;
    return 0;
  }
};

// A mixin with its own map, chained by class.
class CountingMixin {
 public:
  int mixinCalls = 0;
  BEGIN_MSG_MAP(CountingMixin)
    MESSAGE_HANDLER(kBaseOnly + 10, OnMixin)
  END_MSG_MAP()
  LRESULT OnMixin(UINT, WPARAM, LPARAM, BOOL&) {
    ++mixinCalls;
    return 9;
  }
};

class ChainedWindow : public CWindowImpl<ChainedWindow>, public CountingMixin {
 public:
  BaseWindow base;  // only its map is used
  int ownCalls = 0;
  BEGIN_MSG_MAP(ChainedWindow)
    MESSAGE_HANDLER(kAnswer, OnAnswer)
    CHAIN_MSG_MAP(CountingMixin)
    CHAIN_MSG_MAP_MEMBER(base)
  END_MSG_MAP()
  LRESULT OnAnswer(UINT, WPARAM, LPARAM, BOOL&) {
    ++ownCalls;
    return 1;
  }
};

const RECT kRect{0, 0, 200, 100};

std::string TextOf(HWND wnd) {
  char buf[64] = {};
  GetWindowTextA(wnd, buf, sizeof buf);
  return buf;
}

TEST(MessageMap, HandlerResultReachesSender) {
  TestWindow w;
  ASSERT_NE(w.Create(nullptr, kRect, "t", WS_POPUP), nullptr);
  EXPECT_EQ(w.SendMessage(kAnswer, 40, 2), 42);
}

TEST(MessageMap, UnhandledFlagFallsThroughToDefaultProcedure) {
  TestWindow w;
  ASSERT_TRUE(w.Create(nullptr, kRect, "first", WS_POPUP));
  w.passSetTextOn = true;
  w.SetWindowTextA("second");
  EXPECT_EQ(TextOf(w), "second");  // the default procedure stored it

  w.passSetTextOn = false;
  w.SetWindowTextA("third");
  EXPECT_EQ(TextOf(w), "second");  // handled: the default procedure never ran
  EXPECT_EQ(w.setTextCalls, 2);    // creation stores its text without WM_SETTEXT
}

TEST(MessageMap, CommandIdHandlerMatchesOnlyItsId) {
  TestWindow w;
  ASSERT_TRUE(w.Create(nullptr, kRect, "", WS_POPUP));
  w.SendMessage(WM_COMMAND, MAKEWPARAM(8, BN_CLICKED), 0);
  EXPECT_EQ(w.lastCommandId, 0);
  w.SendMessage(WM_COMMAND, MAKEWPARAM(7, BN_DOUBLECLICKED), 0);
  EXPECT_EQ(w.lastCommandId, 7);
  EXPECT_EQ(w.lastCommandCode, BN_DOUBLECLICKED);
}

TEST(MessageMap, ChainedMapHandlesWhatTheOwnMapDoesNot) {
  ChainedWindow w;
  ASSERT_TRUE(w.Create(nullptr, kRect, "", WS_POPUP));
  EXPECT_EQ(w.SendMessage(kAnswer), 1);
  EXPECT_EQ(w.SendMessage(kBaseOnly), 7);
  EXPECT_EQ(w.SendMessage(kBaseOnly + 10), 9);
  EXPECT_EQ(w.ownCalls, 1);
  EXPECT_EQ(w.mixinCalls, 1);
  EXPECT_EQ(w.base.baseCalls, 1);
}

TEST(WindowLife, DestroyInsideHandlerDetachesAfterTheHandlerReturns) {
  TestWindow w;
  HWND wnd = w.Create(nullptr, kRect, "", WS_POPUP);
  ASSERT_TRUE(wnd);
  w.SendMessage(kDestroySelf);
  EXPECT_TRUE(w.touchedAfterDestroy);
  EXPECT_EQ(w.finalMessages, 1);
  EXPECT_EQ(w.finalHandle, wnd);
  EXPECT_EQ(w.m_hWnd, nullptr);
  EXPECT_FALSE(IsWindow(wnd));
}

TEST(WindowLife, ObjectDestroyedFirstTakesItsWindowAlong) {
  HWND wnd;
  {
    TestWindow w;
    wnd = w.Create(nullptr, kRect, "", WS_POPUP);
    ASSERT_TRUE(wnd);
  }
  EXPECT_FALSE(IsWindow(wnd));
}

TEST(WindowLife, ObjectCanCreateAgainAfterDestroy) {
  TestWindow w;
  ASSERT_TRUE(w.Create(nullptr, kRect, "", WS_POPUP));
  w.DestroyWindow();
  ASSERT_TRUE(w.Create(nullptr, kRect, "again", WS_POPUP));
  EXPECT_EQ(w.SendMessage(kAnswer, 1, 1), 2);
}

TEST(WindowClass, GeneratedClassPerWindowTypeWithDefaultStyles) {
  TestWindow a, b;
  BaseWindow c;
  ASSERT_TRUE(a.Create(nullptr, kRect, "", WS_POPUP));
  ASSERT_TRUE(b.Create(nullptr, kRect, "", WS_POPUP));
  ASSERT_TRUE(c.Create(nullptr, kRect, "", WS_POPUP));
  char ca[64], cb[64], cc[64];
  GetClassNameA(a, ca, sizeof ca);
  GetClassNameA(b, cb, sizeof cb);
  GetClassNameA(c, cc, sizeof cc);
  EXPECT_STREQ(ca, cb);
  EXPECT_STRNE(ca, cc);
  UINT style = static_cast<UINT>(GetClassLongPtrA(a, GCL_STYLE));
  EXPECT_EQ(style & (CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS), UINT(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
  EXPECT_EQ(GetClassLongPtrA(a, GCLP_HBRBACKGROUND), static_cast<LONG_PTR>(COLOR_WINDOW + 1));
}

TEST(WindowClass, ChildGetsItsControlId) {
  TestWindow parent, child;
  ASSERT_TRUE(parent.Create(nullptr, kRect, "", WS_POPUP));
  ASSERT_TRUE(child.Create(parent, RECT{0, 0, 10, 10}, "", WS_CHILD | WS_VISIBLE, 0, 55));
  EXPECT_EQ(parent.GetDlgItem(55), child.m_hWnd);
  EXPECT_EQ(child.GetDlgCtrlID(), 55);
}

}  // namespace
