#include "tests/link/command_window.h"

#include "config/core/app_messages.h"
#include "tests/support/message_only_window.h"

namespace {
const char kClassName[] = "LinkTestCommandWindow";
}

CommandWindow::CommandWindow() {
  thread_ = std::thread([this] { Run(); });
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [&] { return ready_; });
}

CommandWindow::~CommandWindow() {
  if (hwnd_) PostMessageA(hwnd_, WM_CLOSE, 0, 0);
  thread_.join();
}

void CommandWindow::Run() {
  HWND hwnd = CreateMessageOnlyWindow(kClassName, WndProc, this, "link test");
  {
    std::lock_guard<std::mutex> lock(mutex_);
    hwnd_ = hwnd;
    threadId_ = GetCurrentThreadId();
    ready_ = true;
  }
  changed_.notify_all();
  if (!hwnd) return;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

LRESULT CALLBACK CommandWindow::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = MessageOnlyWindowOwner<CommandWindow>(hwnd, msg, lp);
  if (msg == WM_LINK_COMMAND && self) {
    {
      std::lock_guard<std::mutex> lock(self->mutex_);
      self->commands_.emplace_back(reinterpret_cast<const char*>(lp));
      self->handlers_.push_back(GetCurrentThreadId());
    }
    self->changed_.notify_all();
    return 0;
  }
  if (msg == WM_CLOSE) {
    DestroyWindow(hwnd);
    return 0;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

std::vector<std::string> CommandWindow::Commands() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return commands_;
}

std::vector<DWORD> CommandWindow::HandlerThreads() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return handlers_;
}
