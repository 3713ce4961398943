// The panel's cost on the window thread, which also paints the preview every
// 30 ms: applying a "config" of 200 controls with 100 pictures, repainting
// the whole panel, and 1,000 "config" commands that each replace the tree
// (window handles, GDI objects and working set before and after). Also the
// two unit costs behind the figures: one decoration picture decoded, one
// child window made and destroyed.
//
//   panel_bench [--configs N] [--no-pictures]
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/gdiplus_session.h"
#include "link/dui_resource_store.h"
#include "panel/dui_ctrl.h"
#include "panel/dui_manager.h"
#include "widgets/image_helpers.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A 68x68 32-bit BMP of one colour: a picture every decoder takes.
std::string BmpPicture(uint32_t argb) {
  const int side = 68;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = side;
  info.biHeight = side;
  info.biPlanes = 1;
  info.biBitCount = 32;
  const uint32_t pixels = side * side * 4;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + pixels;
  std::string out(reinterpret_cast<const char*>(&file), sizeof file);
  out.append(reinterpret_cast<const char*>(&info), sizeof info);
  for (int i = 0; i < side * side; ++i) out.append(reinterpret_cast<const char*>(&argb), 4);
  return out;
}

void StorePicture(const std::string& name, uint32_t argb) {
  std::string bytes = BmpPicture(argb);
  auto data = std::make_unique<uint8_t[]>(bytes.size());
  std::memcpy(data.get(), bytes.data(), bytes.size());
  DUIResourceStore::Instance().StoreResource(name, std::move(data), static_cast<uint32_t>(bytes.size()));
}

// Root, tab row with 4 tabs, page switch with 4 pages: three lists of
// filter, decoration and circle items (100 with pictures) and an adjust page
// with sliders; 200 controls in all.
bool g_pictures = true;

std::string Config(int root) {
  auto ctrl = [](const std::string& cls, int id, const std::string& extra, const std::string& inner = "") {
    std::string open = "<ctrl class=\"" + cls + "\" id=\"" + std::to_string(id) + "\" " + extra;
    return inner.empty() ? open + "/>" : open + ">" + inner + "</ctrl>";
  };
  // Pages root+10.., tabs root+20.., items and sliders from root+100; the
  // first page (64 filter tiles with pictures) is the one shown.
  const int firstPage = root + 10, firstTab = root + 20;
  int id = root + 100;
  std::string tabs, pages;
  const char* itemClass[] = {"filter_item", "decor_item", "circle_item"};
  int pictures = 0, controls = 3 + 4 + 4;  // root, tab holder, page switch; tabs; pages
  for (int page = 0; page < 4; ++page)
    tabs += ctrl("tab", firstTab + page, "name=\"页" + std::to_string(page) + "\"");
  for (int page = 0; page < 3; ++page) {
    std::string items;
    const int count = page == 0 ? 64 : 60;
    for (int i = 0; i < count; ++i, ++controls) {
      std::string image =
          g_pictures && pictures < 100 ? "image=\"bench" + std::to_string(pictures++) + "\"" : "";
      items += ctrl(itemClass[page], ++id, "name=\"滤镜" + std::to_string(i) + "\" " + image);
    }
    pages += ctrl("page_list", firstPage + page, "name=\"列表\" selected=\"0\"", items);
  }
  std::string sliders;
  for (; controls < 200; ++controls)
    sliders += ctrl("slider", ++id, "name=\"强度\" min=\"0\" max=\"100\" pos=\"50\"");
  pages += ctrl("page_adjust", firstPage + 3, "name=\"调节\"", sliders);
  return "<command name=\"config\">" +
         ctrl("op_area", root, "",
              ctrl("tab_holder", root + 1, "selected=\"" + std::to_string(firstTab) + "\"", tabs) +
                  ctrl("page_switch", root + 2, "selected=\"" + std::to_string(firstPage) + "\"", pages)) +
         "</command>";
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

struct Usage {
  int windows;  // below the host (Wine's GetGuiResources answers 0, so they are counted)
  DWORD handles;
  double workingSetMb;
};

Usage Measure(HWND host) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  int windows = 0;
  EnumChildWindows(
      host, [](HWND, LPARAM n) { return ++*reinterpret_cast<int*>(n), TRUE; },
      reinterpret_cast<LPARAM>(&windows));
  DWORD handles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles);
  return {windows, handles, counters.WorkingSetSize / 1048576.0};
}

}  // namespace

int main(int argc, char** argv) {
  int configs = 1000;
  for (int i = 1; i + 1 < argc; ++i)
    if (!std::strcmp(argv[i], "--configs")) configs = std::atoi(argv[i + 1]);
  for (int i = 1; i < argc; ++i)
    if (!std::strcmp(argv[i], "--no-pictures")) g_pictures = false;

  GdiplusSession gdiplus;
  {
    HWND host = CreateWindowExA(0, "STATIC", "panel bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 380, 640,
                                nullptr, nullptr, nullptr, nullptr);
    for (int i = 0; i < 100; ++i) StorePicture("bench" + std::to_string(i), 0xFF000000u | (i * 0x030507u));
    DUIManager manager([host](DUICtrl& root) { return root.Create(host, RECT{0, 0, 350, 570}) != nullptr; });

    {
      auto start = Clock::now();
      for (int i = 0; i < 100; ++i) LoadPngAsHBitmap(212, 0);
      std::printf("one decoration picture loaded: %.2f ms\n", MsSince(start) / 100);
      start = Clock::now();
      for (int i = 0; i < 100; ++i) {
        HWND w = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, host, nullptr, nullptr,
                                 nullptr);
        DestroyWindow(w);
      }
      std::printf("one child window made and destroyed: %.2f ms\n", MsSince(start) / 100);
    }
    std::vector<double> apply, repaint;
    for (int round = 0; round < 10; ++round) {
      const std::string config = Config(1 + round % 2);
      auto start = Clock::now();
      manager.Execute(config);
      apply.push_back(MsSince(start));
      start = Clock::now();
      RedrawWindow(manager.root()->m_hWnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
      repaint.push_back(MsSince(start));
      Pump();
    }
    const double cold = apply.front();  // the first decodes the 100 pictures
    std::sort(apply.begin(), apply.end());
    std::sort(repaint.begin(), repaint.end());
    std::printf(
        "config of 200 controls, 100 pictures: first apply %.1f ms (pictures decoded); "
        "later applies median %.1f ms (min %.1f, max %.1f)\n",
        cold, apply[apply.size() / 2], apply.front(), apply.back());
    std::printf("repaint of the whole panel: median %.1f ms (min %.1f, max %.1f)\n",
                repaint[repaint.size() / 2], repaint.front(), repaint.back());
    std::printf("30 ms preview ticks an apply takes: first %.1f, later %.1f\n", cold / 30.0,
                apply[apply.size() / 2] / 30.0);

    const Usage before = Measure(host);
    auto start = Clock::now();
    for (int round = 0; round < configs; ++round) {
      manager.Execute(Config(1 + round % 2));
      if (round % 10 == 0) Pump();
    }
    Pump();
    const Usage after = Measure(host);
    std::printf(
        "%d replacing configs in %.1f s: panel windows %d -> %d, kernel handles %lu -> %lu, "
        "working set %.1f -> %.1f MiB\n",
        configs, MsSince(start) / 1000.0, before.windows, after.windows, before.handles, after.handles,
        before.workingSetMb, after.workingSetMb);
    DestroyWindow(host);
  }
  return 0;
}
