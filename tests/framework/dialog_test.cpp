// Dialogs from templates: modal life with its end code, modeless life,
// results of handled messages, and keyboard handling through the loop's filter.
#include <gtest/gtest.h>

#include <string>

#include "framework/dialog.h"
#include "framework/message_loop.h"
#include "tests/framework/test_dialogs.h"

namespace {

constexpr UINT kQuery = WM_APP + 21;

class SmallDialog : public CDialogImpl<SmallDialog>, public CMessageFilter {
 public:
  enum { IDD = IDD_TEST_SMALL };
  LPARAM initParam = 0;
  std::string captionAtInit;
  int finalMessages = 0;
  bool endOnInit = false;

  BOOL PreTranslateMessage(MSG* msg) override { return IsDialogMessageA(m_hWnd, msg); }

  BEGIN_MSG_MAP(SmallDialog)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInit)
    MESSAGE_HANDLER(kQuery, OnQuery)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
  END_MSG_MAP()

  void OnFinalMessage(HWND) override { ++finalMessages; }

 private:
  LRESULT OnInit(UINT, WPARAM, LPARAM l, BOOL&) {
    initParam = l;
    char text[64] = {};
    GetWindowTextA(m_hWnd, text, sizeof text);
    captionAtInit = text;
    if (endOnInit) EndDialog(7);
    return TRUE;
  }
  LRESULT OnQuery(UINT, WPARAM w, LPARAM, BOOL&) { return static_cast<LRESULT>(w * 3); }
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&) {
    PostQuitMessage(2);
    return 0;
  }
};

TEST(ModalDialog, EndsWithItsCodeAndSeesTheInitParameter) {
  SmallDialog dlg;
  dlg.endOnInit = true;
  EXPECT_EQ(dlg.DoModal(nullptr, 0x1234), 7);
  EXPECT_EQ(dlg.initParam, 0x1234);
  EXPECT_EQ(dlg.captionAtInit, "测试对话框");  // UTF-8 through the A functions
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  EXPECT_EQ(dlg.finalMessages, 1);
}

TEST(ModelessDialog, LivesUntilEndedAndReturnsHandlerResults) {
  SmallDialog dlg;
  HWND wnd = dlg.Create(nullptr, 99);
  ASSERT_TRUE(wnd);
  EXPECT_EQ(dlg.initParam, 99);
  // A handled message's result travels through DWLP_MSGRESULT.
  EXPECT_EQ(dlg.SendMessage(kQuery, 5), 15);
  dlg.EndDialog(0);
  EXPECT_FALSE(IsWindow(wnd));
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  EXPECT_EQ(dlg.finalMessages, 1);
  // An object destroyed first takes its window along.
  {
    SmallDialog other;
    wnd = other.Create(nullptr);
    ASSERT_TRUE(wnd);
  }
  EXPECT_FALSE(IsWindow(wnd));
}

TEST(ModelessDialog, EscapeThroughTheLoopFilterArrivesAsCancel) {
  CMessageLoop loop;
  SmallDialog dlg;
  ASSERT_TRUE(dlg.Create(nullptr));
  dlg.ShowWindow(SW_SHOW);
  loop.AddMessageFilter(&dlg);
  // Key messages go to the focused control; IsDialogMessage turns Escape into IDCANCEL.
  HWND button = dlg.GetDlgItem(IDC_TEST_BUTTON);
  PostMessageA(button, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  EXPECT_EQ(loop.Run(), 2);  // the cancel command ended the loop
  loop.RemoveMessageFilter(&dlg);
}

}  // namespace
