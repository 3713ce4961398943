// Test folders for the adb bridge, the device scanner and the stream worker:
// a temporary folder holding adb\adb.exe (a copy of the fake adb) that
// becomes the program folder, scenario and record files for the fake adb and
// the fake libimobiledevice, a window that records WM_DEVICE_LIST, and a
// bounded message pump.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/handles.h"
#include "link/core/device_info.h"
#include "link/imobiledevice.h"
#include "tests/support/pump.h"
#include "tests/support/temp_folder.h"
#include "tools/fake_common/fake_scenario_files.h"

// One scenario line: `head` (a directive and its words), a space, then
// `bytes` escaped, and the line end.
std::string ScenarioLine(const std::string& head, const std::string& bytes);

std::vector<std::string> ReadLines(const std::string& file);

// While alive: ProgramFolder points at a temporary folder that holds
// adb\adb.exe (unless created without it), and the fake adb reads
// scenario.txt and appends to record.txt there.
class FakeAdbFolder {
 public:
  explicit FakeAdbFolder(bool withAdb = true);
  ~FakeAdbFolder();
  void SetScenario(const std::string& lines) { WriteFileBytes(scenario_, lines); }
  std::vector<std::string> Records() const { return ReadLines(record_); }
  // The record lines that start with `prefix` (the prefix removed).
  std::vector<std::string> Records(const std::string& prefix) const;
  // The processes the fake adb recorded as "pid <n>" / "holder <n>".
  std::vector<DWORD> Pids(const char* which = "pid ") const;
  const std::string& folder() const { return temp_.path(); }

 private:
  TempFolder temp_;
  std::string scenario_, record_, savedProgramFolder_;
};

// While alive: the fake libimobiledevice reads its scenario from and records
// to files of a temporary folder.
class FakeIdeviceScenario {
 public:
  FakeIdeviceScenario();
  ~FakeIdeviceScenario();
  void Set(const std::string& lines) { WriteFileBytes(scenario_, lines); }
  std::vector<std::string> Records() const { return ReadLines(record_); }
  // Lists, devices, clients, connections and strings the fake has handed out
  // and not yet got back; -1 when the fake is not loaded.
  static int Outstanding();

 private:
  TempFolder temp_;
  std::string scenario_, record_;
};

// Opens `udid` through `api`, reads its name with a lockdown client and
// releases the device, the client and the name (through api.FreeString).
::testing::AssertionResult ReadDeviceName(const IMobileDeviceApi& api, const char* udid, std::string* name);

// A pair of named events, unique to this process, that hold the fake adb at
// the start of one command: it sets `ready` and waits for `go`.
class AdbGate {
 public:
  AdbGate();
  // The scenario line that gates `command` (devices, shell or forward).
  std::string Directive(const char* command) const;
  // Waits for the fake to arrive, delivering sent messages meanwhile.
  bool WaitReady(DWORD timeoutMs) const;
  void Open() const { SetEvent(go_.get()); }

 private:
  std::string readyName_, goName_;
  UniqueHandle ready_, go_;
};

// A message-only window that records every WM_DEVICE_LIST: the wParam, a
// copy of the records lParam points at, and what `onList` returns during the
// call (the test passes the scanner's GetDevices).
class DeviceListWindow {
 public:
  explicit DeviceListWindow(std::function<std::vector<DeviceInfo>()> onList = nullptr);
  ~DeviceListWindow();
  HWND hwnd() const { return hwnd_; }
  void Destroy();
  // Runs extra work inside WM_DESTROY (for example the scanner's Stop).
  void OnDestroy(std::function<void()> f) { onDestroy_ = std::move(f); }

  struct Delivery {
    WPARAM count;
    std::vector<DeviceInfo> snapshot;
    std::vector<DeviceInfo> fromHandler;
  };
  std::vector<Delivery> deliveries;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
  std::function<std::vector<DeviceInfo>()> onList_;
  std::function<void()> onDestroy_;
};
