// Finds the attached phones: one pass lists iOS devices through
// libimobiledevice, then Android devices through adb, keeps the result and
// sends WM_DEVICE_LIST to the owner window.
//
// Passes are requested by the owner (start-up, refresh, device-change timer);
// at most one runs at a time and a request during a pass is dropped.
//
// Shutdown: the scanner owns its pass thread. Stop() ends a running pass
// early (a running adb child is terminated, no further device is queried and
// no message is sent once the stop is seen) and joins the thread while
// delivering messages sent to the calling thread, so a pass blocked in
// SendMessage to the owner can finish. The owner calls Stop() from its window
// thread before its window is gone (WM_DESTROY); the destructor calls it too,
// so a pass never outlives the scanner. A window destroyed without Stop()
// makes the final SendMessage fail harmlessly. Stop() must not be called
// from inside the WM_DEVICE_LIST handler: the pass it waits for is waiting
// for that handler to return.
#pragma once
#include <windows.h>

#include <atomic>
#include <vector>

#include "framework/critical_section.h"
#include "framework/handles.h"
#include "framework/worker_thread.h"
#include "link/core/device_info.h"

class DeviceScanner {
 public:
  DeviceScanner();
  ~DeviceScanner();
  DeviceScanner(const DeviceScanner&) = delete;
  DeviceScanner& operator=(const DeviceScanner&) = delete;

  // The window that receives WM_DEVICE_LIST (wParam = record count, lParam =
  // the first of that many DeviceInfo records, valid during the call).
  void SetOwner(HWND owner);
  // Starts a pass unless one is running. If the thread cannot be created the
  // scanner stays idle, so a later request can try again.
  void Start();
  // The records of the last (or the running) pass, copied under the lock:
  // iOS devices in the library's order, then Android devices in adb's order.
  std::vector<DeviceInfo> GetDevices() const;
  // Ends a running pass early and waits for it (see above). Safe when idle.
  void Stop();
  // Waits up to `timeoutMs` for a running pass to finish on its own,
  // delivering messages sent to the calling thread; true when none runs.
  bool Join(DWORD timeoutMs = INFINITE);
  // True from Start until the pass has finished (after its message).
  bool IsScanning() const { return busy_.load(); }

 private:
  void RunPass();
  void ScanIos();
  void ScanAndroid();
  void Append(const DeviceInfo& info);
  bool StopRequested() const;

  mutable CriticalSection lock_;  // guards devices_ and owner_
  std::vector<DeviceInfo> devices_;
  HWND owner_ = nullptr;
  std::atomic<bool> busy_{false};
  UniqueHandle stopEvent_;  // manual reset; set by Stop, cleared by Start
  WorkerThread thread_;
};
