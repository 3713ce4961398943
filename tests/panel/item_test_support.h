// Shared pieces of the panel item tests: a top-level window to hold the
// controls, attribute lists written inline, picture blobs in the process's
// blob store, and a host that owns a manager (events stay queued: no link)
// and a parent control that gives its items their parent id.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "link/dui_resource_store.h"
#include "panel/ctrl_factory.h"
#include "panel/dui_main.h"
#include "panel/dui_manager.h"

inline std::unique_ptr<AttributeList> Attributes(
    std::initializer_list<std::pair<const char*, const char*>> pairs) {
  auto list = std::make_unique<AttributeList>();
  for (const auto& pair : pairs) list->Add(pair.first, pair.second);
  return list;
}

// Stores `bytes` in the process's blob store under `name`.
inline void StoreBlob(const std::string& name, const std::vector<uint8_t>& bytes) {
  auto data = std::make_unique<uint8_t[]>(bytes.size());
  std::memcpy(data.get(), bytes.data(), bytes.size());
  DUIResourceStore::Instance().StoreResource(name, std::move(data), static_cast<uint32_t>(bytes.size()));
}

// A 24-bit BMP file of one colour, a format the picture decoder reads.
inline std::vector<uint8_t> SolidBmp(int width, int height, COLORREF color) {
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + stride * height;
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  std::vector<uint8_t> bytes(file.bfSize);
  std::memcpy(bytes.data(), &file, sizeof file);
  std::memcpy(bytes.data() + sizeof file, &info, sizeof info);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = bytes.data() + file.bfOffBits + y * stride;
    for (int x = 0; x < width; ++x) {
      row[x * 3] = GetBValue(color);
      row[x * 3 + 1] = GetGValue(color);
      row[x * 3 + 2] = GetRValue(color);
    }
  }
  return bytes;
}

// A visible popup that holds the controls under test; ends with the object.
class HostWindow {
 public:
  HostWindow()
      : wnd_(CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "panel test", WS_POPUP | WS_VISIBLE, 100, 100, 400,
                             300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)) {}
  ~HostWindow() { DestroyWindow(wnd_); }
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  HWND get() const { return wnd_; }

 private:
  HWND wnd_;
};

// Makes controls of a class through the factory, configured, inserted into a
// parent control (so their events carry its id) and given windows in the host.
class ItemHost {
 public:
  explicit ItemHost(int parentId) : manager_([](DUICtrl&) { return true; }) {
    parent_.SetAttributes(Attributes({{"id", std::to_string(parentId).c_str()}}));
  }
  template <class T>
  T* Add(const char* className, std::unique_ptr<AttributeList> attributes, const RECT& rc) {
    std::unique_ptr<DUICtrl> ctrl = CreateCtrl(className);
    T* item = dynamic_cast<T*>(ctrl.get());
    if (!item) return nullptr;
    item->SetAttributes(std::move(attributes));
    parent_.InsertChild(std::move(ctrl), -1);
    return item->Create(window_.get(), rc) ? item : nullptr;
  }
  std::vector<std::string> Events() const { return manager_.QueuedEvents(); }

 private:
  DUIManager manager_;
  HostWindow window_;
  DUIMain parent_;  // ends first: the items' windows go before the host's
};
