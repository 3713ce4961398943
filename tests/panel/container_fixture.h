// Shared fixtures of the container tests: a panel built by the real
// interpreter from a "config" inside a visible host window, a minimal item to
// fill the grids with, and lookups of controls by id.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/window.h"
#include "panel/dui_ctrl.h"
#include "panel/dui_manager.h"

// A tile of a page's grid: a real item window with no look of its own.
class TestTile : public DUIItem {
 public:
  explicit TestTile(int id);
  BEGIN_MSG_MAP(TestTile)
  END_MSG_MAP()
};

class PanelHost : public CWindowImpl<PanelHost> {
 public:
  BEGIN_MSG_MAP(PanelHost)
  END_MSG_MAP()
  PanelHost(int width, int height);
};

class ContainerTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 400;
  static constexpr int kHeight = 500;

  // Runs "config" with `ctrls` as the root's children: the root ("op_area",
  // id 1) fills the host.
  void Config(const std::string& ctrls);
  // The first control with `id` below the root, as T (null when none).
  template <class T>
  T* Find(int id) const {
    std::vector<DUICtrl*> all;
    if (manager.root()) CollectDescendants(*manager.root(), all);
    for (DUICtrl* ctrl : all) {
      if (ctrl->id() == id) return dynamic_cast<T*>(ctrl);
    }
    return nullptr;
  }
  // A window's rectangle in the client coordinates of its parent.
  static RECT PlaceInParent(HWND wnd);

  PanelHost host{kWidth, kHeight};
  DUIManager manager{[this](DUICtrl& root) {
    return root.Create(host, RECT{0, 0, kWidth, kHeight}) != nullptr;
  }};
};
