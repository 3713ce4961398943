#include "link/device_scanner.h"

#include <string>

#include "config/core/app_messages.h"
#include "framework/text.h"
#include "link/adb_runner.h"
#include "link/imobiledevice.h"

namespace {

// The label this program shows to the phone's lockdown service.
const char kLockdownLabel[] = "lumora";

// Device names arrive as UTF-8; the program's strings are in the ANSI code
// page (UTF-8 under the manifest, so this is a validation round trip there).
std::string Utf8ToAnsi(const char* utf8) {
  std::wstring wide = Utf8ToWide(utf8);
  if (wide.empty()) return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                              nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &out[0], n, nullptr, nullptr);
  return out;
}

}  // namespace

DeviceScanner::DeviceScanner() : stopEvent_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

DeviceScanner::~DeviceScanner() {
  Stop();
}

void DeviceScanner::SetOwner(HWND owner) {
  ScopedLock hold(lock_);
  owner_ = owner;
}

std::vector<DeviceInfo> DeviceScanner::GetDevices() const {
  ScopedLock hold(lock_);
  return devices_;
}

void DeviceScanner::Start() {
  if (busy_.exchange(true)) return;  // a pass is running: the request is dropped
  // The previous pass has cleared busy_ as its last step; its thread is
  // finished or about to be.
  thread_.Join();
  ResetEvent(stopEvent_.get());
  if (!thread_.Start([this] { RunPass(); })) busy_ = false;
}

void DeviceScanner::Stop() {
  SetEvent(stopEvent_.get());
  thread_.JoinPumping(INFINITE);
}

bool DeviceScanner::Join(DWORD timeoutMs) {
  return thread_.JoinPumping(timeoutMs);
}

bool DeviceScanner::StopRequested() const {
  return WaitForSingleObject(stopEvent_.get(), 0) == WAIT_OBJECT_0;
}

void DeviceScanner::Append(const DeviceInfo& info) {
  ScopedLock hold(lock_);
  devices_.push_back(info);
}

void DeviceScanner::RunPass() {
  {
    ScopedLock hold(lock_);
    devices_.clear();
  }
  ScanIos();
  ScanAndroid();

  std::vector<DeviceInfo> snapshot;
  HWND owner;
  {
    ScopedLock hold(lock_);
    snapshot = devices_;
    owner = owner_;
  }
  // Sent, not posted: the snapshot lives until the owner has handled it. The
  // lock is not held, so the handler may call GetDevices.
  if (owner && !StopRequested()) {
    SendMessageA(owner, WM_DEVICE_LIST, snapshot.size(),
                 reinterpret_cast<LPARAM>(snapshot.empty() ? nullptr : snapshot.data()));
  }
  busy_ = false;
}

void DeviceScanner::ScanIos() {
  const IMobileDeviceApi* api = LoadIMobileDevice();
  if (!api) return;
  char** udids = nullptr;
  int count = 0;
  api->idevice_get_device_list(&udids, &count);
  if (!udids) return;
  for (int i = 0; i < count && udids[i] && !StopRequested(); ++i) {
    idevice_t device = nullptr;
    if (api->idevice_new(&device, udids[i]) != kIdeviceSuccess || !device) continue;
    lockdownd_client_t client = nullptr;
    if (api->lockdownd_client_new_with_handshake(device, &client, kLockdownLabel) != kLockdownSuccess ||
        !client) {
      api->idevice_free(device);
      continue;
    }
    char* name = nullptr;
    api->lockdownd_get_device_name(client, &name);  // no name: listed with an empty one
    DeviceInfo info;
    info.kind = kDeviceIos;
    info.id = udids[i];
    if (name) info.name = Utf8ToAnsi(name);
    Append(info);
    api->FreeString(name);
    api->lockdownd_client_free(client);
    api->idevice_free(device);
  }
  api->idevice_device_list_free(udids);
}

void DeviceScanner::ScanAndroid() {
  if (StopRequested()) return;
  // One runner for all adb work of the pass; Stop() ends its child at once.
  AdbRunner adb(AdbRunner::kDefaultDeadlineMs, stopEvent_.get());
  std::vector<std::string> serials;
  adb.ListDevices(serials);  // adb missing or failing: no Android device
  for (const std::string& serial : serials) {
    if (StopRequested()) return;
    DeviceInfo info;
    adb.QueryModel(serial, info);  // no model: the serial stays the name
    Append(info);
  }
}
