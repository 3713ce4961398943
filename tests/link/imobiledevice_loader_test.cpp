#include "link/imobiledevice.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "tests/support/fake_adb_fixture.h"

namespace {

// link_tests has the fake library beside it under the first name tried.
TEST(IMobileDeviceLoader, BindsTheFirstNameOnceForAllThreads) {
  std::vector<const IMobileDeviceApi*> seen(8, nullptr);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < seen.size(); ++i)
    threads.emplace_back([&seen, i] { seen[i] = LoadIMobileDevice(); });
  for (auto& t : threads) t.join();
  ASSERT_NE(seen[0], nullptr);
  for (const IMobileDeviceApi* api : seen) EXPECT_EQ(api, seen[0]);
  EXPECT_STREQ(LoadedIMobileDeviceName(), "imobiledevice.dll");
  HMODULE module = GetModuleHandleA("imobiledevice.dll");
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(reinterpret_cast<void*>(seen[0]->free_string),
            reinterpret_cast<void*>(GetProcAddress(module, "pinvoke_free_string")));
}

}  // namespace
