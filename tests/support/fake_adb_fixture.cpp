#include "tests/support/fake_adb_fixture.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "config/core/app_globals.h"
#include "config/core/app_messages.h"
#include "framework/worker_thread.h"
#include "tests/support/message_only_window.h"

namespace {}  // namespace

std::string ScenarioLine(const std::string& head, const std::string& bytes) {
  return head + " " + ScenarioEscape(bytes) + "\n";
}

std::vector<std::string> ReadLines(const std::string& file) {
  std::vector<std::string> lines;
  std::ifstream in(file, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

FakeAdbFolder::FakeAdbFolder(bool withAdb)
    : scenario_(temp_.path() + "scenario.txt"),
      record_(temp_.path() + "record.txt"),
      savedProgramFolder_(ProgramFolder) {
  if (withAdb) {
    CreateDirectoryA((temp_.path() + "adb").c_str(), nullptr);
    CopyFileA(WinePath(FAKE_ADB_PATH).c_str(), (temp_.path() + "adb\\adb.exe").c_str(), FALSE);
  }
  ProgramFolder = temp_.path();
  SetEnvironmentVariableA(kFakeAdbScenarioEnv, scenario_.c_str());
  SetEnvironmentVariableA(kFakeAdbRecordEnv, record_.c_str());
}

FakeAdbFolder::~FakeAdbFolder() {
  for (DWORD pid : Pids("holder ")) {
    UniqueHandle p(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (p) {
      TerminateProcess(p.get(), 0);
      WaitForSingleObject(p.get(), 5000);
    }
  }
  ProgramFolder = savedProgramFolder_;
  SetEnvironmentVariableA(kFakeAdbScenarioEnv, nullptr);
  SetEnvironmentVariableA(kFakeAdbRecordEnv, nullptr);
}

std::vector<std::string> FakeAdbFolder::Records(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const std::string& line : Records())
    if (line.compare(0, prefix.size(), prefix) == 0) out.push_back(line.substr(prefix.size()));
  return out;
}

std::vector<DWORD> FakeAdbFolder::Pids(const char* which) const {
  std::vector<DWORD> pids;
  for (const std::string& s : Records(which)) pids.push_back(static_cast<DWORD>(std::stoul(s)));
  return pids;
}

FakeIdeviceScenario::FakeIdeviceScenario()
    : scenario_(temp_.path() + "idevice.txt"), record_(temp_.path() + "idevice-record.txt") {
  WriteFileBytes(scenario_, "");
  SetEnvironmentVariableA(kFakeIdeviceScenarioEnv, scenario_.c_str());
  SetEnvironmentVariableA(kFakeIdeviceRecordEnv, record_.c_str());
}

FakeIdeviceScenario::~FakeIdeviceScenario() {
  SetEnvironmentVariableA(kFakeIdeviceScenarioEnv, nullptr);
  SetEnvironmentVariableA(kFakeIdeviceRecordEnv, nullptr);
}

int FakeIdeviceScenario::Outstanding() {
  HMODULE fake = GetModuleHandleA("imobiledevice.dll");
  if (!fake) return -1;
  auto fn =
      reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(fake, "fake_idevice_outstanding")));
  return fn ? fn() : -1;
}

::testing::AssertionResult ReadDeviceName(const IMobileDeviceApi& api, const char* udid, std::string* name) {
  idevice_t device = nullptr;
  if (api.idevice_new(&device, udid) != kIdeviceSuccess)
    return ::testing::AssertionFailure() << "idevice_new failed";
  lockdownd_client_t client = nullptr;
  if (api.lockdownd_client_new_with_handshake(device, &client, "lumora") != kLockdownSuccess) {
    api.idevice_free(device);
    return ::testing::AssertionFailure() << "lockdown handshake failed";
  }
  char* text = nullptr;
  const bool named = api.lockdownd_get_device_name(client, &text) == kLockdownSuccess;
  if (named) *name = text ? text : "";
  api.FreeString(text);
  api.lockdownd_client_free(client);
  api.idevice_free(device);
  if (!named) return ::testing::AssertionFailure() << "lockdownd_get_device_name failed";
  return ::testing::AssertionSuccess();
}

AdbGate::AdbGate() {
  static std::atomic<unsigned> counter{0};
  const std::string base =
      "vela-adb-gate-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
  readyName_ = base + "-ready";
  goName_ = base + "-go";
  ready_.reset(CreateEventA(nullptr, TRUE, FALSE, readyName_.c_str()));
  go_.reset(CreateEventA(nullptr, TRUE, FALSE, goName_.c_str()));
}

std::string AdbGate::Directive(const char* command) const {
  return std::string("gate ") + command + " " + readyName_ + " " + goName_ + "\n";
}

bool AdbGate::WaitReady(DWORD timeoutMs) const {
  return WaitPumpingSentMessages(ready_.get(), timeoutMs) == WAIT_OBJECT_0;
}

DeviceListWindow::DeviceListWindow(std::function<std::vector<DeviceInfo>()> onList)
    : onList_(std::move(onList)) {
  hwnd_ = CreateMessageOnlyWindow("VelaDeviceListTestWindow", Proc, this);
}

DeviceListWindow::~DeviceListWindow() {
  Destroy();
}

void DeviceListWindow::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

LRESULT CALLBACK DeviceListWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = MessageOnlyWindowOwner<DeviceListWindow>(hwnd, msg, lp);
  if (self && msg == WM_DEVICE_LIST) {
    Delivery d;
    d.count = wp;
    auto* records = reinterpret_cast<const DeviceInfo*>(lp);
    if (records) d.snapshot.assign(records, records + wp);
    if (self->onList_) d.fromHandler = self->onList_();
    self->deliveries.push_back(std::move(d));
    return 0;
  }
  if (self && msg == WM_DESTROY && self->onDestroy_) self->onDestroy_();
  return DefWindowProcA(hwnd, msg, wp, lp);
}
