#include "tests/widgets/widget_test_support.h"

#include <gtest/gtest.h>

#include <cstring>

#include "widgets/image_helpers.h"

TestParent::TestParent(int width, int height, int x, int y) {
  RECT rc{x, y, x + width, y + height};
  Create(nullptr, rc, "widget test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW);
}

LRESULT TestParent::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  EXPECT_EQ(0, lParam) << "a click carries lParam 0, not the button's handle";
  delivered.push_back(wParam);
  return 0;
}

std::vector<WPARAM> TakePostedCommands(HWND wnd) {
  std::vector<WPARAM> commands;
  MSG msg;
  while (PeekMessageA(&msg, wnd, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
    EXPECT_EQ(0, msg.lParam) << "a click carries lParam 0, not the button's handle";
    commands.push_back(msg.wParam);
  }
  return commands;
}

void BlendPngReference(HDC target, int id, int x, int y, BYTE opacity) {
  BitmapHandle picture = LoadPngAsHBitmap(id, 0xFF000000);
  ASSERT_TRUE(picture) << "PNG " << id;
  SIZE size = BitmapSize(picture.get());
  ScratchDC source;
  SelectScope selected(source.get(), picture.get());
  BLENDFUNCTION blend{AC_SRC_OVER, 0, opacity, AC_SRC_ALPHA};
  AlphaBlend(target, x, y, size.cx, size.cy, source.get(), 0, 0, size.cx, size.cy, blend);
}
