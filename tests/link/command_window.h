// A message-only window on the test's thread standing in for the main
// window: it records the text of every WM_LINK_COMMAND, copied during the
// call. The reader sends synchronously, so no pumping is needed.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "config/core/app_messages.h"
#include "framework/unique_owner.h"
#include "tests/support/message_only_window.h"

struct CommandWindowTraits {
  static bool IsValid(HWND h) { return h != nullptr; }
  static void Release(HWND h) { DestroyWindow(h); }
};

class CommandWindow {
 public:
  CommandWindow() : window_(CreateMessageOnlyWindow("LinkTestCommandWindow", Proc, this)) {}
  HWND hwnd() const { return window_.get(); }
  std::vector<std::string> commands;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = MessageOnlyWindowOwner<CommandWindow>(hwnd, msg, lp);
    if (msg != WM_LINK_COMMAND || !self) return DefWindowProcA(hwnd, msg, wp, lp);
    self->commands.emplace_back(reinterpret_cast<const char*>(lp));
    return 0;
  }
  UniqueOwner<HWND, CommandWindowTraits> window_;
};
