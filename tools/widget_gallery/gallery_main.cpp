// The widget gallery. Without arguments it shows the window until closed;
// with --screenshot <file> it saves the window as a PNG, checks the file and
// exits (0 = saved and not blank); with --bench <rounds> it prints how long
// one paint of each control takes.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/gdiplus_api.h"
#include "framework/message_loop.h"
#include "framework/text.h"
#include "tools/widget_gallery/gallery_window.h"
#include "tools/widget_gallery/screenshot.h"

namespace {

void PumpUntilIdle() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

int Run(const char* screenshotPath, int benchRounds) {
  GalleryWindow gallery;
  RECT rc{40, 40, 40 + GalleryWindow::kWidth, 40 + GalleryWindow::kHeight};
  if (!gallery.Create(nullptr, rc, "Vela直播助手 widget gallery", WS_POPUP | WS_VISIBLE)) return 2;
  gallery.ShowStates();
  PumpUntilIdle();
  if (benchRounds > 0) {
    gallery.PrintPaintTimes(benchRounds);
    return 0;
  }
  if (!screenshotPath) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    return 0;
  }
  GdiFlush();
  std::wstring path = Utf8ToWide(screenshotPath);
  RECT area = gallery.ScreenshotArea();
  if (!SaveScreenAreaAsPng(area, path)) {
    std::fprintf(stderr, "widget_gallery: cannot save %s\n", screenshotPath);
    return 1;
  }
  std::string why;
  if (!CheckScreenshot(path, area.right - area.left, area.bottom - area.top, 40, &why)) {
    std::fprintf(stderr, "widget_gallery: %s\n", why.c_str());
    return 1;
  }
  std::printf("widget_gallery: saved %s\n", screenshotPath);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const char* screenshotPath = nullptr;
  int benchRounds = 0;
  for (int i = 1; i + 1 < __argc; ++i) {
    if (std::strcmp(__argv[i], "--screenshot") == 0) screenshotPath = __argv[i + 1];
    if (std::strcmp(__argv[i], "--bench") == 0) benchRounds = std::atoi(__argv[i + 1]);
  }
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return 3;
  AppModule().Init(instance);
  int code = Run(screenshotPath, benchRounds);
  AppModule().Term();
  Gdiplus::GdiplusShutdown(token);
  return code;
}
