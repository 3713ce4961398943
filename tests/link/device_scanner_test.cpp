#include "link/device_scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "link/adb_runner.h"
#include "link/imobiledevice.h"
#include "tests/support/fake_adb_fixture.h"

namespace {

// The records as one comparable, printable text.
std::string Describe(const std::vector<DeviceInfo>& v) {
  std::string s;
  for (const DeviceInfo& d : v) s += "{" + d.name + "," + d.id + "," + std::to_string(d.kind) + "}";
  return s;
}

size_t Count(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

class DeviceScannerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(LoadIMobileDevice(), nullptr) << "the fake libimobiledevice belongs beside the test program";
    window = std::make_unique<DeviceListWindow>([this] { return scanner->GetDevices(); });
    scanner->SetOwner(window->hwnd());
  }
  void TearDown() override {
    scanner.reset();
    window.reset();
  }
  // Waits for the n-th delivery, then for the pass to finish.
  bool WaitForDeliveries(size_t n) {
    bool got = PumpUntil([&] { return window->deliveries.size() >= n; }, 60000);
    return scanner->Join(60000) && got;
  }

  FakeIdeviceScenario ios;
  FakeAdbFolder adb;
  std::unique_ptr<DeviceScanner> scanner = std::make_unique<DeviceScanner>();
  std::unique_ptr<DeviceListWindow> window;
};

TEST_F(DeviceScannerTest, IosDevicesFirstThenAndroidInAdbOrderAndHandlerSeesTheSnapshot) {
  ios.Set("device U-ONE port=1 name=张三的 iPhone\n");
  adb.SetScenario(ScenarioLine("devices", "List of devices attached\r\nZ9\tdevice\r\nA1\tdevice\r\n\r\n") +
                  ScenarioLine("model Z9", "[ro.product.model]: [Pixel 7]\r\n") +
                  ScenarioLine("model A1", "[ro.product.model]: [小米 13]\r\n"));
  scanner->Start();
  ASSERT_TRUE(WaitForDeliveries(1));
  ASSERT_EQ(window->deliveries.size(), 1u);
  const auto& d = window->deliveries[0];
  std::vector<DeviceInfo> expected{{"张三的 iPhone", "U-ONE", kDeviceIos},
                                   {"Pixel 7", "Z9", kDeviceAndroid},
                                   {"小米 13", "A1", kDeviceAndroid}};
  EXPECT_EQ(d.count, 3u);
  EXPECT_EQ(Describe(d.snapshot), Describe(expected));
  EXPECT_EQ(Describe(d.fromHandler), Describe(d.snapshot));
  EXPECT_EQ(Describe(scanner->GetDevices()), Describe(expected));
  // Every list, device, client and name went back to the library, and the
  // lockdown client was made with this program's label.
  EXPECT_EQ(FakeIdeviceScenario::Outstanding(), 0);
  EXPECT_EQ(Count(ios.Records(), "handshake U-ONE lumora"), 1u);
  EXPECT_EQ(Count(ios.Records(), "free_string"), 1u);
}

TEST_F(DeviceScannerTest, TwoQuickStartsGiveOnePassAndOneMessageAndALaterStartAnother) {
  adb.SetScenario(ScenarioLine("devices", "List of devices attached\r\nA1\tdevice\r\n"));
  scanner->Start();
  scanner->Start();
  ASSERT_TRUE(WaitForDeliveries(1));
  EXPECT_EQ(window->deliveries.size(), 1u);
  EXPECT_EQ(adb.Records("cmd ").size(), 2u);  // one devices, one shell
  EXPECT_EQ(Count(ios.Records(), "list"), 1u);
  EXPECT_FALSE(scanner->IsScanning());

  scanner->Start();
  ASSERT_TRUE(WaitForDeliveries(2));
  EXPECT_EQ(window->deliveries.size(), 2u);
  EXPECT_EQ(Count(ios.Records(), "list"), 2u);
}

TEST_F(DeviceScannerTest, IosDevicesThatFailAreSkippedAndLaterOnesStillListed) {
  ios.Set(
      "device U-GONE new=fail\n"
      "device U-LOCKED lockdown=fail name=Locked\n"
      "device U-OK name=Second\n"
      "device U-NONAME noname\n");
  scanner->Start();
  ASSERT_TRUE(WaitForDeliveries(1));
  std::vector<DeviceInfo> expected{{"Second", "U-OK", kDeviceIos}, {"", "U-NONAME", kDeviceIos}};
  EXPECT_EQ(Describe(window->deliveries[0].snapshot), Describe(expected));
  // The device whose lockdown failed was released.
  EXPECT_EQ(Count(ios.Records(), "free U-LOCKED"), 1u);
  EXPECT_EQ(Count(ios.Records(), "list_free"), 1u);
  EXPECT_EQ(FakeIdeviceScenario::Outstanding(), 0);
}

// Destroying the scanner while its pass waits on adb: the destructor ends
// the adb child, waits for the pass and no message is sent afterwards.
TEST_F(DeviceScannerTest, DestroyingTheScannerDuringAPassEndsItWithoutAMessage) {
  AdbGate gate;  // never opened
  adb.SetScenario(gate.Directive("devices"));
  scanner->Start();
  ASSERT_TRUE(gate.WaitReady(60000));
  scanner.reset();
  EXPECT_TRUE(window->deliveries.empty());
  ASSERT_EQ(adb.Pids().size(), 1u);
  EXPECT_TRUE(ProcessEnds(adb.Pids()[0], 10000));
}

// The owner window stops the scanner while it is being destroyed; a pass
// that was waiting on adb sends nothing to it, and the scanner serves a new
// owner afterwards.
TEST_F(DeviceScannerTest, OwnerDestroyedDuringAPassGetsNoMessageAndScannerStaysUsable) {
  AdbGate gate;
  adb.SetScenario(gate.Directive("devices"));
  window->OnDestroy([this] { scanner->Stop(); });
  scanner->Start();
  ASSERT_TRUE(gate.WaitReady(60000));
  window->Destroy();
  EXPECT_FALSE(scanner->IsScanning());
  EXPECT_TRUE(window->deliveries.empty());

  DeviceListWindow second([this] { return scanner->GetDevices(); });
  scanner->SetOwner(second.hwnd());
  adb.SetScenario(ScenarioLine("devices", "List of devices attached\r\nA1\tdevice\r\n"));
  scanner->Start();
  ASSERT_TRUE(PumpUntil([&] { return second.deliveries.size() == 1; }, 60000));
  ASSERT_TRUE(scanner->Join(60000));
  EXPECT_EQ(second.deliveries[0].count, 1u);
}

// A window destroyed without stopping the scanner: the final send fails
// harmlessly and the pass still ends.
TEST_F(DeviceScannerTest, OwnerDestroyedWithoutStopIsNotSentToAndThePassEnds) {
  AdbGate gate;
  adb.SetScenario(gate.Directive("devices") +
                  ScenarioLine("devices", "List of devices attached\r\nA1\tdevice\r\n"));
  scanner->Start();
  ASSERT_TRUE(gate.WaitReady(60000));
  window->Destroy();
  gate.Open();
  // The pass goes on to query A1's model and ends by itself.
  ASSERT_TRUE(scanner->Join(60000));
  EXPECT_EQ(adb.Records("cmd ").size(), 2u);
  EXPECT_TRUE(window->deliveries.empty());
  EXPECT_EQ(Describe(scanner->GetDevices()), Describe(std::vector<DeviceInfo>{{"A1", "A1", kDeviceAndroid}}));
}

}  // namespace
