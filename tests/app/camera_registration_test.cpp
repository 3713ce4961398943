// Camera-module registration against real files in a temporary program
// folder: a missing file, a file that is no module, and the two test
// modules (no entry, failing entry). The succeeding case is the real camera
// modules' (tests/camera).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/camera_registration.h"
#include "tests/support/temp_folder.h"

namespace {

struct RegistrationCase {
  const char* what;
  const char* module;  // copied in as the camera module; null: no file
  const char* text;    // file content when `module` is empty
  int result;
  const char* message;  // expected suffix after the path; null: no message
  bool entryCalled;
};

const RegistrationCase kCases[] = {
    {"missing file", nullptr, nullptr, 0, "缺失", false},
    {"not a module", "", "this is not a module", 0, " 注册失败", false},
    {"no registration entry", TEST_CAMERA_MODULE_UNREGISTERED, nullptr, 1, nullptr, false},
    {"failing entry", TEST_CAMERA_MODULE_FAILING, nullptr, 0, " 注册失败", true},
};

std::string RegisteredModule() {
  char value[MAX_PATH] = {};
  GetEnvironmentVariableA("VELA_TEST_CAMERA_REGISTERED", value, sizeof value);
  return value;
}

TEST(CameraRegistration, ReportsEachFailureOnceAndFreesTheModule) {
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    const std::string path = folder.path() + kCameraModuleNames[0];
    if (c.module && *c.module) {
      ASSERT_TRUE(CopyFileA((std::string("Z:") + c.module).c_str(), path.c_str(), FALSE));
    }
    if (c.text) WriteFileBytes(path, c.text);
    SetEnvironmentVariableA("VELA_TEST_CAMERA_REGISTERED", nullptr);

    std::vector<std::string> messages;
    int result = RegisterCameraModule(path, [&](const std::string& text) { messages.push_back(text); });

    EXPECT_EQ(result, c.result);
    std::vector<std::string> expected;
    if (c.message) expected.push_back(path + c.message);
    EXPECT_EQ(messages, expected);
    EXPECT_EQ(!RegisteredModule().empty(), c.entryCalled);
    EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr);  // freed again
  }
}

}  // namespace
