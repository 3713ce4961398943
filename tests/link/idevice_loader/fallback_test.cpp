// Runs from a folder holding an "imobiledevice.dll" that lacks an entry point
// and a "libimobiledevice-1.0.dll" without pinvoke_free_string.
#include <gtest/gtest.h>
#include <windows.h>

#include "imobiledevice.h"

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

  char path[MAX_PATH];
  DWORD n = GetTempPathA(MAX_PATH, path);
  std::string scenario = std::string(path, n) + "vela-idevice-fallback.txt";
  HANDLE f = CreateFileA(scenario.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  const char text[] = "device F1 name=Fallback\n";
  DWORD written = 0;
  WriteFile(f, text, sizeof(text) - 1, &written, nullptr);
  CloseHandle(f);
  SetEnvironmentVariableA("VELA_FAKE_IDEVICE_SCENARIO", scenario.c_str());

  idevice_t device = nullptr;
  ASSERT_EQ(api->idevice_new(&device, "F1"), kIdeviceSuccess);
  lockdownd_client_t client = nullptr;
  ASSERT_EQ(api->lockdownd_client_new_with_handshake(device, &client, "lumora"), kLockdownSuccess);
  char* name = nullptr;
  ASSERT_EQ(api->lockdownd_get_device_name(client, &name), kLockdownSuccess);
  EXPECT_STREQ(name, "Fallback");
  api->FreeString(name);
  api->lockdownd_client_free(client);
  api->idevice_free(device);
  SetEnvironmentVariableA("VELA_FAKE_IDEVICE_SCENARIO", nullptr);
  DeleteFileA(scenario.c_str());
}

}  // namespace
