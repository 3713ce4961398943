// Runs from a folder with no libimobiledevice beside it.
#include <gtest/gtest.h>

#include "link/device_scanner.h"
#include "link/imobiledevice.h"
#include "tests/support/fake_adb_fixture.h"

namespace {

TEST(IMobileDeviceAbsent, NoLibraryGivesNoTableOnEveryCall) {
  EXPECT_EQ(LoadIMobileDevice(), nullptr);
  EXPECT_EQ(LoadIMobileDevice(), nullptr);
  EXPECT_STREQ(LoadedIMobileDeviceName(), "");
}

// No library and no adb: the pass still completes with one empty message.
TEST(IMobileDeviceAbsent, ScanWithoutLibraryOrAdbSendsOneEmptyList) {
  FakeAdbFolder noAdb(/*withAdb=*/false);
  DeviceScanner scanner;
  DeviceListWindow window([&] { return scanner.GetDevices(); });
  scanner.SetOwner(window.hwnd());
  scanner.Start();
  ASSERT_TRUE(PumpUntil([&] { return !window.deliveries.empty(); }, 60000));
  ASSERT_TRUE(scanner.Join(60000));
  ASSERT_EQ(window.deliveries.size(), 1u);
  EXPECT_EQ(window.deliveries[0].count, 0u);
  EXPECT_TRUE(scanner.GetDevices().empty());
}

}  // namespace
