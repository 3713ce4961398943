// One detected phone, copied by value between the scanner, the main window
// and the stream worker.
#pragma once
#include <string>

enum DeviceKind : int {
  kDeviceNone = 0,
  kDeviceIos = 1,      // usbmux through libimobiledevice
  kDeviceAndroid = 2,  // adb port forward, then TCP to 127.0.0.1
};

struct DeviceInfo {
  std::string name;  // shown to the user: iOS device name or Android product model
  std::string id;    // adb serial or iOS UDID
  int kind = kDeviceNone;
};
