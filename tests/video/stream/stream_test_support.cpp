#include <winsock2.h>

#include "stream_test_support.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

#include <gtest/gtest.h>
#include "app_globals.h"
#include "app_messages.h"

RecordingWindow::RecordingWindow() {
  static const char* const kClass = "VelaStreamTestWindow";
  static ATOM registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    return RegisterClassA(&wc);
  }();
  (void)registered;
  hwnd_ =
      CreateWindowExA(0, kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), this);
}

RecordingWindow::~RecordingWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

size_t RecordingWindow::Count(UINT message) const {
  return static_cast<size_t>(std::count(messages.begin(), messages.end(), message));
}

LRESULT CALLBACK RecordingWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self) {
    if (msg == WM_STREAM_CONNECTED || msg == WM_STREAM_DISCONNECTED || msg == WM_STREAM_CONNECT_FAILED) {
      self->messages.push_back(msg);
      return 0;
    }
    if (msg == WM_LINK_COMMAND) {
      self->commands.push_back(reinterpret_cast<const char*>(lp));
      return 0;
    }
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(10, deadline - now)),
                              QS_ALLINPUT);
  }
}

namespace {
struct WatchdogArgs {
  HANDLE done;
  const char* what;
  DWORD timeoutMs;
};
DWORD WINAPI WatchdogMain(void* p) {
  auto* args = static_cast<WatchdogArgs*>(p);
  if (WaitForSingleObject(args->done, args->timeoutMs) == WAIT_TIMEOUT) {
    std::fprintf(stderr, "DEADLOCK: %s did not return within %lu ms\n", args->what, args->timeoutMs);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
  }
  delete args;
  return 0;
}
}  // namespace

DeadlockWatchdog::DeadlockWatchdog(const char* what, DWORD timeoutMs)
    : done_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), thread_(nullptr) {
  thread_ = CreateThread(nullptr, 0, WatchdogMain, new WatchdogArgs{done_, what, timeoutMs}, 0, nullptr);
}

DeadlockWatchdog::~DeadlockWatchdog() {
  SetEvent(done_);
  if (thread_) {
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  CloseHandle(done_);
}

namespace {
std::string WindowsPath(std::string p) {
  if (!p.empty() && p[0] == '/') p = "Z:" + p;  // a Linux path under Wine
  std::replace(p.begin(), p.end(), '/', '\\');
  return p;
}
}  // namespace

FakeAdbProgramFolder::FakeAdbProgramFolder() : saved_(ProgramFolder) {
  static std::atomic<unsigned> counter{0};
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  char name[MAX_PATH + 64];
  std::snprintf(name, sizeof(name), "%svela-stream-%lu-%u\\", base, GetCurrentProcessId(), counter++);
  folder_ = name;
  CreateDirectoryA(folder_.c_str(), nullptr);
  CreateDirectoryA((folder_ + "adb").c_str(), nullptr);
  CopyFileA(WindowsPath(FAKE_ADB_PATH).c_str(), (folder_ + "adb\\adb.exe").c_str(), FALSE);
  ProgramFolder = folder_;
}

FakeAdbProgramFolder::~FakeAdbProgramFolder() {
  ProgramFolder = saved_;
  DeleteFileA((folder_ + "adb\\adb.exe").c_str());
  RemoveDirectoryA((folder_ + "adb").c_str());
  RemoveDirectoryA(folder_.c_str());
}

namespace {
// The program starts Winsock 2.2 once at start-up; the tests do the same.
class WinsockEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  }
  void TearDown() override { WSACleanup(); }
};
const ::testing::Environment* const kWinsock = ::testing::AddGlobalTestEnvironment(new WinsockEnvironment);
}  // namespace
