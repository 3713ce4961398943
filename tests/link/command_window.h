// A real window on its own thread with a message loop, standing in for the
// main window: it records every WM_LINK_COMMAND text (copied during the call)
// and the thread that handled it.
#pragma once
#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CommandWindow {
 public:
  CommandWindow();   // returns once the window exists
  ~CommandWindow();  // closes the window and joins its thread
  CommandWindow(const CommandWindow&) = delete;
  CommandWindow& operator=(const CommandWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  DWORD threadId() const { return threadId_; }
  std::vector<std::string> Commands() const;
  // Thread ids that handled the commands, in order.
  std::vector<DWORD> HandlerThreads() const;

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Run();

  std::thread thread_;
  HWND hwnd_ = nullptr;
  DWORD threadId_ = 0;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool ready_ = false;
  std::vector<std::string> commands_;
  std::vector<DWORD> handlers_;
};
