// The program folder cut from the module path, and the shared texts with
// ids inside and outside the list.
#include "config/core/app_globals.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FolderOfPathTest, KeepsEverythingUpToTheLastBackslash) {
  struct Case {
    const char* path;
    const char* folder;
  } cases[] = {
      {"C:\\Program Files\\Vela\\VelaAssistant.exe", "C:\\Program Files\\Vela\\"},
      {"C:\\VelaAssistant.exe", "C:\\"},
      {"\\\\server\\share\\v1.2\\Vela.exe", "\\\\server\\share\\v1.2\\"},
      {"C:\\Vela\\", "C:\\Vela\\"},
      {"VelaAssistant.exe", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.folder, FolderOfPath(c.path)) << c.path;
}

TEST(AppStringsTest, EveryIdHoldsItsOwnTextAndUnknownIdsHoldNone) {
  const int count = static_cast<int>(AppString::Count);
  for (int i = 0; i < count; ++i) SetAppString(static_cast<AppString>(i), "text " + std::to_string(i));
  for (int i = 0; i < count; ++i)
    EXPECT_EQ("text " + std::to_string(i), GetAppString(static_cast<AppString>(i)));
  for (int bad : {count, count + 1, -1}) {
    SetAppString(static_cast<AppString>(bad), "stray");
    EXPECT_EQ("", GetAppString(static_cast<AppString>(bad))) << bad;
  }
  for (int i = 0; i < count; ++i) SetAppString(static_cast<AppString>(i), "");
}

}  // namespace
