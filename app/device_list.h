// The device box's contents: the names of the phones of the last scan pass,
// with the phone of the last connect kept selected when it is still there.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "link/core/device_info.h"

class ComboBox;

inline constexpr const char* kNoDeviceText = "未检测到设备";
inline constexpr const char* kReadingDevicesText = "正在读取设备列表...";

// Replaces the box's items by the devices' names in list order and selects
// the last one whose id equals `keptId` exactly, else the first; an empty
// list shows kNoDeviceText. Returns true when the list is empty.
bool ShowDeviceList(ComboBox& box, const std::vector<DeviceInfo>& devices, const std::string& keptId);

// The device at the box's selection `index`, or nothing when the index is
// not a position in `devices` (negative, or past the end).
std::optional<DeviceInfo> DeviceAt(int index, const std::vector<DeviceInfo>& devices);
