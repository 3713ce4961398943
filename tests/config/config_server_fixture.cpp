#include "tests/config/config_server_fixture.h"

#include <cstdlib>

#include "config/core/app_messages.h"
#include "config/local_config.h"
#include "tests/support/message_only_window.h"

namespace {

const char* const kFetchedKeys[] = {"ConnTips",         "AppName",       "AppUrl",
                                    "OpenDebugModeUrl", "AdbDriveUrl",   "HelpConnImage",
                                    "HelpVCamImage",    "HelpHCamImage", "ConfigUrl"};

std::string DataFile() {
  return GetDataFolder() + "AppConfig.ini";
}

std::string RawDataValue(const char* key) {
  char value[260] = {};
  GetPrivateProfileStringA("Config", key, "", value, 259, DataFile().c_str());
  return value;
}

}  // namespace

std::string ServerUrl(const std::string& path) {
  return "http://127.0.0.1:" + std::to_string(CONFIG_SERVER_PORT) + path;
}

std::string AbsentServerUrl(const std::string& path) {
  return "http://127.0.0.1:" + std::to_string(CONFIG_SERVER_PORT + 1) + path;
}

std::string ServeReply(const std::string& name, const std::string& xml) {
  WriteFileBytes(WinePath(CONFIG_SERVER_STATE "/files/" + name + ".xml"), xml);
  return ServerUrl("/replies/" + name + "/config.php");
}

int LoggedRequests(const std::string& text) {
  std::string log = ReadFileBytes(WinePath(CONFIG_SERVER_STATE "/requests.log"));
  int count = 0;
  for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++count;
  return count;
}

MainWindowRecorder::MainWindowRecorder() {
  hwnd_ = CreateMessageOnlyWindow("MainWindowRecorder", Proc, this);
}

MainWindowRecorder::~MainWindowRecorder() {
  DestroyWindow(hwnd_);
}

LRESULT CALLBACK MainWindowRecorder::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = MessageOnlyWindowOwner<MainWindowRecorder>(hwnd, msg, lp);
  if (self && msg == WM_HELP_IMAGE_UPDATED) {
    ++self->helpImageUpdates;
    return 0;
  }
  if (self && msg == WM_START_UPDATE_DOWNLOAD) {
    self->updateAddresses.push_back(reinterpret_cast<const char*>(lp));
    std::free(reinterpret_cast<void*>(lp));
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

RemoteConfigScope::RemoteConfigScope() {
  savedProgramFolder_ = ProgramFolder;
  ProgramFolder = folder_.path();
  CreateDirectoryA((folder_.path() + "res").c_str(), nullptr);
  for (int i = 0; i < static_cast<int>(AppString::Count); ++i) {
    savedTexts_.push_back(GetAppString(static_cast<AppString>(i)));
    SetAppString(static_cast<AppString>(i), "");
  }
  for (const char* key : kFetchedKeys) {
    savedKeys_.push_back(RawDataValue(key));
    WritePrivateProfileStringA("Config", key, nullptr, DataFile().c_str());
  }
}

RemoteConfigScope::~RemoteConfigScope() {
  for (size_t i = 0; i < savedKeys_.size(); ++i)
    WritePrivateProfileStringA("Config", kFetchedKeys[i],
                               savedKeys_[i].empty() ? nullptr : savedKeys_[i].c_str(), DataFile().c_str());
  for (size_t i = 0; i < savedTexts_.size(); ++i) SetAppString(static_cast<AppString>(i), savedTexts_[i]);
  ProgramFolder = savedProgramFolder_;
}

void RemoteConfigScope::SetEndpoint(const std::string& url) {
  WritePrivateProfileStringA("Config", "ConfigUrl", url.c_str(), (folder_.path() + "AppConfig.ini").c_str());
}
