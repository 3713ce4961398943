#include "app/device_list.h"

#include "widgets/combo_box.h"

bool ShowDeviceList(ComboBox& box, const std::vector<DeviceInfo>& devices, const std::string& keptId) {
  box.ResetContent();
  int kept = -1;
  for (size_t i = 0; i < devices.size(); ++i) {
    box.AddString(devices[i].name);
    if (devices[i].id == keptId) kept = static_cast<int>(i);
  }
  box.SetCurSel(kept < 0 ? 0 : kept);
  if (devices.empty()) box.SetText(kNoDeviceText);
  return devices.empty();
}

std::optional<DeviceInfo> DeviceAt(int index, const std::vector<DeviceInfo>& devices) {
  if (index < 0 || static_cast<size_t>(index) >= devices.size()) return std::nullopt;
  return devices[index];
}
