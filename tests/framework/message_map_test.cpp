// Message maps: dispatch to handlers and chained maps, the handled flag, the
// generated window class and the end of a window's life.
#include <gtest/gtest.h>

#include "framework/window.h"

namespace {

constexpr UINT kAnswer = WM_APP + 1;
constexpr UINT kMember = WM_APP + 2;
constexpr UINT kMixin = WM_APP + 3;
constexpr UINT kDestroySelf = WM_APP + 4;

// A map that answers one message, chained into the window's map.
template <UINT kMessage, LRESULT kResult>
class AnsweringMap {
 public:
  BEGIN_MSG_MAP(AnsweringMap)
    MESSAGE_HANDLER(kMessage, OnMessage)
  END_MSG_MAP()
  LRESULT OnMessage(UINT, WPARAM, LPARAM, BOOL&) { return kResult; }
};
using Mixin = AnsweringMap<kMixin, 9>;

class TestWindow : public CWindowImpl<TestWindow>, public Mixin {
 public:
  AnsweringMap<kMember, 7> member;
  bool setTextHandled = false;
  int finalMessages = 0;
  bool touchedAfterDestroy = false;

  BEGIN_MSG_MAP(TestWindow)
    MESSAGE_HANDLER(kAnswer, OnAnswer)
    MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
    MESSAGE_HANDLER(kDestroySelf, OnDestroySelf)
    COMMAND_ID_HANDLER(7, OnCommand7)
    CHAIN_MSG_MAP(Mixin)
    CHAIN_MSG_MAP_MEMBER(member)
  END_MSG_MAP()

  void OnFinalMessage(HWND) override { ++finalMessages; }

 private:
  LRESULT OnAnswer(UINT, WPARAM w, LPARAM l, BOOL&) { return static_cast<LRESULT>(w + l); }
  LRESULT OnSetText(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = setTextHandled;
    return TRUE;
  }
  LRESULT OnDestroySelf(UINT, WPARAM, LPARAM, BOOL&) {
    DestroyWindow();
    // The object must still be usable here: detaching waits for this handler.
    touchedAfterDestroy = (finalMessages == 0);
    return 0;
  }
  LRESULT OnCommand7(WORD code, WORD id, HWND, BOOL&) { return MAKELRESULT(id, code); }
};

const RECT kRect{0, 0, 200, 100};

TEST(MessageMap, EachMessageReachesItsHandlerAndItsResultTheSender) {
  struct Case {
    const char* name;
    UINT message;
    WPARAM w;
    LPARAM l;
    LRESULT result;
  } cases[] = {
      {"own handler", kAnswer, 40, 2, 42},
      {"command of another id", WM_COMMAND, MAKEWPARAM(8, BN_CLICKED), 0, 0},
      {"command id with its code", WM_COMMAND, MAKEWPARAM(7, BN_DOUBLECLICKED), 0,
       MAKELRESULT(7, BN_DOUBLECLICKED)},
      {"chained class", kMixin, 0, 0, 9},
      {"chained member", kMember, 0, 0, 7},
  };
  TestWindow w;
  ASSERT_TRUE(w.Create(nullptr, kRect, "", WS_POPUP));
  for (const Case& c : cases) EXPECT_EQ(c.result, w.SendMessage(c.message, c.w, c.l)) << c.name;
}

TEST(MessageMap, ClearedHandledFlagFallsThroughToTheDefaultProcedure) {
  TestWindow w;
  ASSERT_TRUE(w.Create(nullptr, kRect, "first", WS_POPUP));
  char text[16] = {};
  for (bool handled : {false, true}) {
    w.setTextHandled = handled;
    w.SetWindowTextA("second");
    GetWindowTextA(w, text, sizeof text);
    EXPECT_STREQ(handled ? "first" : "second", text);
    w.SetWindowTextA("first");
  }
}

TEST(WindowLife, DestroyInsideHandlerDetachesAfterItReturnsAndTheObjectCreatesAgain) {
  TestWindow w;
  HWND wnd = w.Create(nullptr, kRect, "", WS_POPUP);
  ASSERT_TRUE(wnd);
  w.SendMessage(kDestroySelf);
  EXPECT_TRUE(w.touchedAfterDestroy);
  EXPECT_EQ(w.finalMessages, 1);
  EXPECT_EQ(w.m_hWnd, nullptr);
  EXPECT_FALSE(IsWindow(wnd));
  ASSERT_TRUE(w.Create(nullptr, kRect, "again", WS_POPUP));
  EXPECT_EQ(w.SendMessage(kAnswer, 1, 1), 2);
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

class OtherWindow : public CWindowImpl<OtherWindow> {
 public:
  BEGIN_MSG_MAP(OtherWindow)
  END_MSG_MAP()
};

TEST(WindowClass, OneClassPerWindowTypeWithDefaultStylesAndChildIds) {
  TestWindow a, b;
  OtherWindow c;
  ASSERT_TRUE(a.Create(nullptr, kRect, "", WS_POPUP));
  ASSERT_TRUE(b.Create(a, RECT{0, 0, 10, 10}, "", WS_CHILD | WS_VISIBLE, 0, 55));
  ASSERT_TRUE(c.Create(nullptr, kRect, "", WS_POPUP));
  EXPECT_EQ(a.GetDlgItem(55), b.m_hWnd);
  char ca[64], cb[64], cc[64];
  GetClassNameA(a, ca, sizeof ca);
  GetClassNameA(b, cb, sizeof cb);
  GetClassNameA(c, cc, sizeof cc);
  EXPECT_STREQ(ca, cb);
  EXPECT_STRNE(ca, cc);
  UINT style = static_cast<UINT>(GetClassLongPtrA(a, GCL_STYLE));
  EXPECT_EQ(style & (CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS), UINT(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
}

}  // namespace
