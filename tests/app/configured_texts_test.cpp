// The start-up texts from "AppConfig.ini": line breaks in the tips, empty
// values keep the built-in name, the help addresses are always taken.
#include <gtest/gtest.h>

#include "app/configured_texts.h"
#include "config/core/app_globals.h"
#include "config/local_config.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(ConfiguredTexts, TipsGetLineBreaksEmptyNamesKeepTheirsAddressesAreAlwaysTaken) {
  TempFolder folder;
  const std::string savedFolder = ProgramFolder;
  ProgramFolder = folder.path();
  const struct {
    const char* key;
    const char* configured;
    AppString id;
    const char* before;
    const char* after;
  } rows[] = {
      {"ConnTips", "打开Vela相机</br>进入直播模式</br>", AppString::ConnTips, "",
       "打开Vela相机\n进入直播模式\n"},
      {"AppName", "", AppString::AppName, "Vela直播助手", "Vela直播助手"},
      {"AppUrl", "http://example.invalid/app", AppString::AppUrl, "", "http://example.invalid/app"},
      {"OpenDebugModeUrl", "", AppString::OpenDebugModeUrl, "http://old.invalid/", ""},
      {"AdbDriveUrl", "http://example.invalid/adb", AppString::AdbDriveUrl, "", "http://example.invalid/adb"},
  };
  for (const auto& row : rows) {
    WriteConfig(row.key, row.configured);
    SetAppString(row.id, row.before);
  }
  LoadConfiguredTexts();
  for (const auto& row : rows) {
    EXPECT_EQ(GetAppString(row.id), row.after) << row.key;
    WriteConfig(row.key, "");  // the per-user copy wins on reading: leave it empty
    SetAppString(row.id, "");
  }
  ProgramFolder = savedFolder;
}

}  // namespace
