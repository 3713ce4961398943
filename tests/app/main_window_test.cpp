// The program file under Wine: it starts, shows its caption-less main window
// of 730 x 648 titled "Vela直播助手". (Its exit code after a close is checked
// by tests/app/program_clicks_test.sh, which clicks the close button.)
#include <gtest/gtest.h>

#include <string>

#include "framework/gdi.h"
#include "framework/handles.h"
#include "tests/support/process_window.h"
#include "tests/support/pump.h"
#include "tests/support/temp_folder.h"

namespace {

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string exe = WinePath(VELA_EXE_PATH);
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si{sizeof si};
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(
        CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << GetLastError();
    process.reset(pi.hProcess);
    thread.reset(pi.hThread);
    pid = pi.dwProcessId;
    // The window appears during start-up; look for it until the program
    // exits or a generous bound passes.
    ASSERT_EQ(WaitForInputIdle(process.get(), 20000), 0u);
    PumpUntil(
        [&] {
          window = VisibleTopWindowOf(pid);
          return window || WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT;
        },
        20000);
    ASSERT_TRUE(window);
  }
  void TearDown() override {
    if (process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) {
      TerminateProcess(process.get(), 99);
      WaitForSingleObject(process.get(), 10000);
    }
  }

  UniqueHandle process, thread;
  DWORD pid = 0;
  HWND window = nullptr;
};

TEST_F(ProgramTest, MainWindowIsCaptionless730x648WithItsTitle) {
  RECT rc;
  GetWindowRect(window, &rc);
  EXPECT_EQ(rc.right - rc.left, 730);
  EXPECT_EQ(rc.bottom - rc.top, 648);
  LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, 0);
  EXPECT_NE(style & WS_CLIPCHILDREN, 0);
  char title[64] = {};
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, "Vela直播助手");
  // Rounded corners come from a window region.
  RegionHandle rgn(CreateRectRgn(0, 0, 0, 0));
  EXPECT_NE(GetWindowRgn(window, rgn.get()), ERROR);
  EXPECT_FALSE(PtInRegion(rgn.get(), 0, 0));
  EXPECT_TRUE(PtInRegion(rgn.get(), 365, 324));
}

}  // namespace
