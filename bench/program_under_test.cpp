#include "bench/program_under_test.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <utility>

#include "tests/support/process_window.h"
#include "video/core/frame_section_layout.h"

namespace {

// Polls `done` every millisecond until it holds or the bound passes.
bool PollFor(const std::function<bool()>& done, DWORD timeoutMs) {
  const double deadline = NowMs() + timeoutMs;
  while (!done()) {
    if (NowMs() > deadline) return false;
    Sleep(1);
  }
  return true;
}

std::string AdbRecordPath() {
  char path[MAX_PATH] = {};
  GetEnvironmentVariableA("VELA_FAKE_ADB_RECORD", path, sizeof path);
  return path;
}

}  // namespace

double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart / 1000.0;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart / perMs;
}

ProgramUnderTest::ProgramUnderTest(std::string exe) : exe_(std::move(exe)) {
  folder_ = exe_.substr(0, exe_.find_last_of('\\') + 1);
}

ProgramUnderTest::~ProgramUnderTest() {
  CloseSection();
  if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.get(), 99);
    WaitForSingleObject(process_.get(), 10000);
  }
}

bool ProgramUnderTest::Start() {
  std::string cmd = "\"" + exe_ + "\"";
  STARTUPINFOA si{sizeof si};
  PROCESS_INFORMATION pi{};
  window_ = nullptr;
  startedMs_ = NowMs();
  // From its own folder: the program starts adb\adb.exe by a relative path.
  if (!CreateProcessA(exe_.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &si,
                      &pi))
    return Fail("could not start " + exe_);
  process_.reset(pi.hProcess);
  thread_.reset(pi.hThread);
  pid_ = pi.dwProcessId;
  return true;
}

bool ProgramUnderTest::WaitForWindow(DWORD timeoutMs) {
  return PollFor([&] { return (window_ = VisibleTopWindowOf(pid_)) != nullptr; }, timeoutMs) ||
         Fail("the main window did not appear");
}

bool ProgramUnderTest::WaitForDeviceList(DWORD timeoutMs) {
  if (!window_ && !WaitForWindow(timeoutMs)) return false;
  return PollFor([&] { return IsWindowVisible(GetDlgItem(window_, 1)) != FALSE; }, timeoutMs) ||
         Fail("no device list (the connect button stayed hidden)");
}

bool ProgramUnderTest::WaitForWidth(int width, DWORD timeoutMs) {
  return PollFor(
             [&] {
               RECT rc;
               return GetWindowRect(window_, &rc) && rc.right - rc.left == width;
             },
             timeoutMs) ||
         Fail("the window did not become " + std::to_string(width) + " wide");
}

void ProgramUnderTest::Command(int id) {
  SendMessageA(window_, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

bool ProgramUnderTest::OpenPicture() {
  if (!mapping_) mapping_.reset(OpenFileMappingA(FILE_MAP_READ, FALSE, frame_section::kName));
  if (!mapping_) return false;
  if (!view_) view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, frame_section::kSize));
  if (!view_) return false;
  int32_t width = 0;
  uint32_t sequence = 0;
  std::memcpy(&width, view_.get(), sizeof width);
  std::memcpy(&sequence, section() + frame_section::kTrailerOffset + 4, 4);
  return width > 0 && sequence > 0;
}

void ProgramUnderTest::CloseSection() {
  view_.reset();
  mapping_.reset();
}

bool ProgramUnderTest::Connect() {
  Command(1);
  if (!WaitForWidth(1080, 30000)) return false;
  return PollFor([&] { return OpenPicture(); }, 30000) || Fail("no picture reached the section");
}

double ProgramUnderTest::Close(DWORD timeoutMs) {
  // The program's section outlives it while this process maps it: let go first,
  // so that the next run starts without the last picture.
  CloseSection();
  const double start = NowMs();
  PostMessageA(window_, WM_COMMAND, 2, 0);
  if (WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) {
    Fail("the program did not end after its close command");
    return -1;
  }
  const double ms = NowMs() - start;
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  process_.reset();
  thread_.reset();
  if (code != 2) {
    Fail("exit code " + std::to_string(code));
    return -1;
  }
  return ms;
}

void ProgramUnderTest::ClearAdbRecord() {
  DeleteFileA(AdbRecordPath().c_str());
}

bool ProgramUnderTest::WaitForAdbCommand(const char* command, DWORD timeoutMs) {
  const std::string path = AdbRecordPath();
  return PollFor(
             [&] {
               UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
               if (!file) return false;
               char text[4096] = {};
               DWORD got = 0;
               ReadFile(file.get(), text, sizeof text - 1, &got, nullptr);
               return std::strstr(text, command) != nullptr;
             },
             timeoutMs) ||
         Fail(std::string("adb was never asked to ") + command);
}
