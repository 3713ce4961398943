// Runs the Android Debug Bridge tool as a hidden child process and builds the
// three operations the link needs on top of it: list the ready devices, read
// a device's model, forward a local TCP port to the device.
//
// Where adb is found: the command lines name it "adb\adb.exe", a path
// relative to the program's folder (ProgramFolder, or the running
// executable's folder before ProgramFolder is set), never to the current
// directory. The process is elevated and its current directory is whatever
// the launcher chose, so a relative lookup there could start a stranger's
// adb.exe. The command line itself is passed to the child unchanged.
//
// How long a command may take: each child has a deadline (kDefaultDeadlineMs
// from its start unless the constructor says otherwise). ReadOutput returns
// when the child's output is closed, when the child has exited (the adb
// server that adb forks inherits the output pipe and would otherwise keep it
// open for good), when the deadline passes, or when the cancel event is set;
// in the last two cases the child is terminated. A hung adb therefore costs
// a scan pass or a connect at most one deadline per command.
//
// Handles: the parent's pipe ends are never inheritable, and each child is
// given an explicit list of the two handles it may inherit, so two threads
// running adb at the same time (scan pass and connect) never leak pipe ends
// into each other's children. The runner keeps the child's process handle
// (for the deadline and for noticing its exit) until the next Run, Close or
// its destruction; Close does not end a child that is still running.
//
// One runner belongs to the thread that made it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/handles.h"
#include "link/core/device_info.h"

class AdbRunner {
 public:
  // Enough for adb to start its server on first use (a few seconds) and
  // finish the command.
  static constexpr DWORD kDefaultDeadlineMs = 20000;

  // `cancelEvent` (optional, not owned, must outlive the runner): when it is
  // signalled, a waiting ReadOutput terminates the child and returns at once.
  explicit AdbRunner(DWORD deadlineMs = kDefaultDeadlineMs, HANDLE cancelEvent = nullptr);
  ~AdbRunner();
  AdbRunner(const AdbRunner&) = delete;
  AdbRunner& operator=(const AdbRunner&) = delete;

  // Starts the child for `commandLine` with its standard input, output and
  // error redirected; true when it started. Closes the previous child's
  // handles first. Starts nothing once the cancel event is set.
  bool Run(const std::string& commandLine);
  // Everything the child wrote to its output and error streams (each chunk
  // read is taken up to its first NUL byte), bounded as described above.
  std::string ReadOutput();
  // Writes `text` to the child's standard input in one write call.
  bool WriteInput(const std::string& text);
  // Releases the handles of the last child (it is not terminated).
  void Close();

  // "adb\adb.exe devices": appends the serials of the devices in the device
  // state to `serials`, in adb's order. False when adb could not be started.
  bool ListDevices(std::vector<std::string>& serials);
  // "adb\adb.exe -s <serial> shell" with "getprop" and "exit": fills `info`
  // (kind Android, id and name = serial, name = model when one is found).
  // False when adb could not be started.
  bool QueryModel(std::string serial, DeviceInfo& info);
  // "adb\adb.exe -s <serial> forward tcp:<local> tcp:<remote>"; the ports are
  // written as their 16-bit values. Waits for adb to finish; its output is not
  // examined. False when adb could not be started.
  bool Forward(const std::string& serial, int localPort, int remotePort);

  // True when the last ReadOutput ended because of the deadline or the
  // cancel event (the child was terminated).
  bool LastReadCutShort() const { return cutShort_; }

 private:
  // Waits for the pending read, the child's exit, the deadline or the cancel
  // event; the WaitForMultipleObjects result (read first, exit second).
  DWORD WaitForReadOrEnd() const;
  // Ends the child that is past its deadline or cancelled.
  void TerminateChild();

  UniqueHandle outputRead_;  // overlapped server end of the child's stdout+stderr pipe
  UniqueHandle inputWrite_;  // parent's end of the child's stdin pipe
  UniqueHandle process_;     // the child, kept so the deadline can end it
  UniqueHandle readEvent_;   // completion event of the overlapped reads
  ULONGLONG deadline_ = 0;   // GetTickCount64 value after which the child is ended
  DWORD deadlineMs_;
  HANDLE cancelEvent_;
  bool cutShort_ = false;
};
