// The built program as the benchmarks drive it from another process: started
// from its own folder, its main window found by its process, commands given
// as the buttons give them (WM_COMMAND with the button's id), its pictures
// read from "LumoraFileMapping", and its close timed to the process's end.
#pragma once
#include <windows.h>

#include <string>

#include "framework/handles.h"
#include "framework/unique_owner.h"

// Milliseconds on the performance counter.
double NowMs();

class ProgramUnderTest {
 public:
  explicit ProgramUnderTest(std::string exe);
  ~ProgramUnderTest();  // ends a program still running

  bool Start();
  double SinceStartMs() const { return NowMs() - startedMs_; }
  bool WaitForWindow(DWORD timeoutMs);
  // The busy overlay hides the connect button until the first device list.
  bool WaitForDeviceList(DWORD timeoutMs);
  bool WaitForWidth(int width, DWORD timeoutMs);
  // Sent: returns once the window has handled the command.
  void Command(int id);
  // The connect command, then the wide window and a whole picture in the section.
  bool Connect();
  bool StartStreaming() { return Start() && WaitForDeviceList(30000) && Connect(); }
  // The close button's command; milliseconds until the process has ended,
  // -1 when it did not within the bound or did not exit with code 2.
  double Close(DWORD timeoutMs);

  const std::string& exe() const { return exe_; }
  HANDLE process() const { return process_.get(); }
  // The mapped section while streaming (after Connect), else null.
  const uint8_t* section() const { return static_cast<const uint8_t*>(view_.get()); }
  // The fake adb's record of the commands it was started with.
  void ClearAdbRecord();
  bool WaitForAdbCommand(const char* command, DWORD timeoutMs);
  const std::string& lastError() const { return error_; }

 private:
  bool Fail(const std::string& what) {
    error_ = what;
    return false;
  }
  bool OpenPicture();
  void CloseSection();

  std::string exe_, folder_, error_;
  UniqueHandle process_, thread_, mapping_;
  UniqueOwner<void*, ReleasedBy<void, &UnmapViewOfFile>> view_;
  DWORD pid_ = 0;
  HWND window_ = nullptr;
  double startedMs_ = 0;
};
