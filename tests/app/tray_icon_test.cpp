// The notification-area icon against the real shell: added once with the
// first balloon, present while its owner lives, gone after. Presence is read
// back by asking the shell to modify the icon, which fails for an unknown one.
#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "app/tray_icon.h"
#include "tests/support/message_only_window.h"

namespace {

bool IconPresent(HWND window) {
  NOTIFYICONDATAA probe{};
  probe.cbSize = sizeof probe;
  probe.hWnd = window;
  probe.uID = TrayIcon::kIconId;
  probe.uFlags = NIF_TIP;
  return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

TEST(TrayIcon, AddedWithTheFirstBalloonAndRemovedWithItsOwner) {
  HWND window = CreateMessageOnlyWindow("TrayIconTestWindow", DefWindowProcA, nullptr);
  ASSERT_TRUE(window);
  HICON icon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // shared: not destroyed
  {
    TrayIcon tray;
    EXPECT_FALSE(tray.Add());  // no window yet
    tray.SetWindow(window, icon);
    EXPECT_FALSE(IconPresent(window));
    EXPECT_TRUE(tray.ShowBalloon("已切换至后台更新，下载完毕后将提示您安装", "软件更新", NIIF_INFO, 10000));
    EXPECT_TRUE(tray.ShowBalloon(nullptr, nullptr, NIIF_INFO, 10000));  // null texts count as empty
    EXPECT_TRUE(tray.IsAdded());
    EXPECT_TRUE(IconPresent(window));
  }
  EXPECT_FALSE(IconPresent(window));
  DestroyWindow(window);
}

TEST(TrayIcon, BalloonTextsAreCutToTheFieldsOnCharacterBoundaries) {
  const struct {
    const char* text;
    std::size_t capacity;
    const char* expected;
  } cases[] = {
      {nullptr, 64, ""},
      {"abcdef", 4, "abc"},
      {"软件更新", 13, "软件更新"},  // 12 bytes fit exactly
      {"软件更新", 12, "软件更"},    // the last character would be split
      {"a软", 4, "a"},
  };
  for (const auto& c : cases) EXPECT_EQ(FitToField(c.text, c.capacity), c.expected) << c.capacity;
}

}  // namespace
