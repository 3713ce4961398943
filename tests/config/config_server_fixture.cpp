#include "tests/config/config_server_fixture.h"

#include <cstdlib>

#include "config/core/app_globals.h"
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

std::string ServerUrl(const std::string& path, int portOffset) {
  return "http://127.0.0.1:" + std::to_string(CONFIG_SERVER_PORT + portOffset) + path;
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

UpdateUi FetchRecorder::ui() {
  UpdateUi ui;
  ui.askToUpdate = [this](const std::string& note) {
    events += "question " + note + "; ";
    return answerYes;
  };
  ui.tellNoUpdate = [this] { events += "no update; "; };
  ui.openPage = [this](const std::string& url) { events += "open " + url + "; "; };
  return ui;
}

LRESULT CALLBACK FetchRecorder::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = MessageOnlyWindowOwner<FetchRecorder>(hwnd, msg, lp);
  if (self && msg == WM_HELP_IMAGE_UPDATED) {
    self->events += "help picture; ";
    return 0;
  }
  if (self && msg == WM_START_UPDATE_DOWNLOAD) {
    self->events += "download " + std::string(reinterpret_cast<const char*>(lp)) + "; ";
    std::free(reinterpret_cast<void*>(lp));
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

static void ClearAppStrings() {
  for (int i = 0; i < static_cast<int>(AppString::Count); ++i) SetAppString(static_cast<AppString>(i), "");
}

RemoteConfigScope::RemoteConfigScope() : savedProgramFolder_(ProgramFolder) {
  ProgramFolder = folder_.path();
  CreateDirectoryA((folder_.path() + "res").c_str(), nullptr);
  ClearAppStrings();
  for (const char* key : kFetchedKeys) {
    savedKeys_.push_back(RawDataValue(key));
    WritePrivateProfileStringA("Config", key, nullptr, DataFile().c_str());
  }
}

RemoteConfigScope::~RemoteConfigScope() {
  for (size_t i = 0; i < savedKeys_.size(); ++i)
    WritePrivateProfileStringA("Config", kFetchedKeys[i],
                               savedKeys_[i].empty() ? nullptr : savedKeys_[i].c_str(), DataFile().c_str());
  ClearAppStrings();
  ProgramFolder = savedProgramFolder_;
}

void RemoteConfigScope::SetEndpoint(const std::string& url) {
  WritePrivateProfileStringA("Config", "ConfigUrl", url.c_str(), (folder_.path() + "AppConfig.ini").c_str());
}
