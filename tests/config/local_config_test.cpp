// ReadConfig/WriteConfig against the real data folder of the Wine prefix and
// a program folder in a temporary directory.
#include "config/local_config.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "config/core/app_globals.h"
#include "tests/support/temp_folder.h"

namespace {

class LocalConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedProgramFolder_ = ProgramFolder;
    ProgramFolder = programFolder_.path();
    // A key no other test or run uses, so the shared data folder stays clean.
    key_ = "TestKey" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount());
    dataFile_ = GetDataFolder() + "AppConfig.ini";
    programFile_ = ProgramFolder + "AppConfig.ini";
  }
  void TearDown() override {
    WritePrivateProfileStringA("Config", key_.c_str(), nullptr, dataFile_.c_str());
    ProgramFolder = savedProgramFolder_;
  }
  TempFolder programFolder_;
  std::string savedProgramFolder_, key_, dataFile_, programFile_;
};

// The data folder is made on first use; the writes below need it.
TEST_F(LocalConfigTest, ProgramFolderValueIsTheFallbackAndDataFolderWinsAfterWrite) {
  EXPECT_NE(std::string::npos, dataFile_.find("\\AppData\\Local\\Vela直播助手\\AppConfig.ini")) << dataFile_;
  EXPECT_EQ("", ReadConfig(key_.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("Config", key_.c_str(), "出厂值", programFile_.c_str()));
  EXPECT_EQ("出厂值", ReadConfig(key_.c_str()));

  WriteConfig(key_.c_str(), "用户值");
  EXPECT_EQ("用户值", ReadConfig(key_.c_str()));
  // Both copies were written.
  char buffer[260] = {};
  GetPrivateProfileStringA("Config", key_.c_str(), "", buffer, 259, dataFile_.c_str());
  EXPECT_STREQ("用户值", buffer);
  GetPrivateProfileStringA("Config", key_.c_str(), "", buffer, 259, programFile_.c_str());
  EXPECT_STREQ("用户值", buffer);

  // The data folder's copy wins even when the program folder's differs.
  ASSERT_TRUE(WritePrivateProfileStringA("Config", key_.c_str(), "旧值", programFile_.c_str()));
  EXPECT_EQ("用户值", ReadConfig(key_.c_str()));
}

TEST_F(LocalConfigTest, AnEmptyDataFolderValueFallsBackAndLongValuesAreCutTo258Characters) {
  ASSERT_TRUE(WritePrivateProfileStringA("Config", key_.c_str(), "", dataFile_.c_str()));
  ASSERT_TRUE(
      WritePrivateProfileStringA("Config", key_.c_str(), "http://example.invalid/a", programFile_.c_str()));
  EXPECT_EQ("http://example.invalid/a", ReadConfig(key_.c_str()));
  // The value buffer is passed as 259 characters: 258 and the ending zero.
  WriteConfig(key_.c_str(), std::string(400, 'x').c_str());
  EXPECT_EQ(std::string(258, 'x'), ReadConfig(key_.c_str()));
}

TEST(FileVersionTest, FileWithoutVersionResourceLeavesBufferUnchanged) {
  TempFolder folder;
  std::string path = folder.path() + "no_version.txt";
  WriteFileBytes(path, "plain");
  char buffer[16] = "unchanged";
  EXPECT_EQ(0, GetFileVersionTextOf(path.c_str(), buffer, sizeof buffer));
  EXPECT_STREQ("unchanged", buffer);
}

}  // namespace
