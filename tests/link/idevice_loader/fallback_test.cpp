// Runs from a folder holding an "imobiledevice.dll" that lacks an entry point
// and a "libimobiledevice-1.0.dll" without pinvoke_free_string.
#include <gtest/gtest.h>
#include <windows.h>

#include "link/imobiledevice.h"
#include "tests/support/fake_adb_fixture.h"

namespace {

TEST(IMobileDeviceFallback, SecondNameIsBoundAndStringsGoToTheLibrarysRuntimeFree) {
  const IMobileDeviceApi* api = LoadIMobileDevice();
  ASSERT_NE(api, nullptr);
  EXPECT_STREQ(LoadedIMobileDeviceName(), "libimobiledevice-1.0.dll");
  // The incomplete first candidate was unloaded again.
  EXPECT_EQ(GetModuleHandleA("imobiledevice.dll"), nullptr);
  HMODULE library = GetModuleHandleA("libimobiledevice-1.0.dll");
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(GetProcAddress(library, "pinvoke_free_string"), nullptr);
  // The fake is built against msvcrt.dll: its strings must go to that free.
  HMODULE crt = GetModuleHandleA("msvcrt.dll");
  ASSERT_NE(crt, nullptr);
  EXPECT_EQ(reinterpret_cast<void*>(api->free_string), reinterpret_cast<void*>(GetProcAddress(crt, "free")));

  FakeIdeviceScenario scenario;
  scenario.Set("device F1 name=Fallback\n");
  std::string name;
  ASSERT_TRUE(ReadDeviceName(*api, "F1", &name));
  EXPECT_EQ(name, "Fallback");
}

}  // namespace
