#include "config/remote_config.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

#include <shellapi.h>

#include "config/core/app_globals.h"
#include "config/core/app_messages.h"
#include "config/core/remote_reply.h"
#include "config/core/version_number.h"
#include "config/local_config.h"
#include "framework/handles.h"

namespace {

constexpr DWORD kConnectTimeoutMs = 30000, kReceiveTimeoutMs = 60000, kSendTimeoutMs = 30000;

HttpOptions FetchOptions(size_t maxBytes, HttpCancel* cancel) {
  HttpOptions options;
  options.connectTimeoutMs = kConnectTimeoutMs;
  options.receiveTimeoutMs = kReceiveTimeoutMs;
  options.sendTimeoutMs = kSendTimeoutMs;
  options.maxBytes = maxBytes;
  options.cancel = cancel;
  return options;
}

// Posts "No" to the message boxes of the fetch thread; a box ends with the
// id of any button command it receives.
BOOL CALLBACK AnswerNo(HWND window, LPARAM) {
  PostMessageA(window, WM_COMMAND, IDNO, 0);
  return TRUE;
}

}  // namespace

std::string ConfigEndpoint() {
  std::string configured = ReadConfig("ConfigUrl");
  return configured.empty() ? kDefaultConfigEndpoint : configured;
}

UpdateUi MessageBoxUpdateUi() {
  UpdateUi ui;
  ui.askToUpdate = [](const std::string& note) {
    return MessageBoxA(nullptr, note.c_str(), "Vela直播助手软件更新提示", MB_YESNO) == IDYES;
  };
  ui.tellNoUpdate = [] { MessageBoxA(nullptr, "未检查到有更新！", "软件更新", MB_OK); };
  ui.openPage = [](const std::string& url) {
    ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOW);
  };
  return ui;
}

RemoteConfigFetch::RemoteConfigFetch(HWND mainWindow, UpdateUi ui)
    : mainWindow_(mainWindow), ui_(std::move(ui)) {}

bool RemoteConfigFetch::StartRemoteConfigFetch(bool manual) {
  if (thread_.IsRunning()) return false;
  thread_.Join();
  cancel_.Reset();
  stopping_ = false;
  return thread_.Start([this, manual] { Fetch(manual); });
}

void RemoteConfigFetch::Stop() {
  if (!thread_.handle()) return;
  stopping_ = true;
  cancel_.Cancel();
  // A question may be open (or about to open): answer it until the thread ends.
  while (!thread_.JoinPumping(50)) DismissQuestions();
}

void RemoteConfigFetch::DismissQuestions() {
  EnumThreadWindows(thread_.id(), AnswerNo, 0);
}

bool RemoteConfigFetch::Fetch(bool manual) {
  char version[100] = {};
  if (!GetFileVersionText(version, sizeof version)) return false;
  std::string url = ConfigRequestUrl(ConfigEndpoint(), version, static_cast<long long>(std::time(nullptr)));
  std::string body, error;
  if (HttpGet(url, body, error, FetchOptions(RemoteReplyLimits::kMaxReplyBytes, &cancel_)) == 0) return false;

  RemoteReply reply;
  if (ParseRemoteReply(body, reply) != ReplyParse::kOk || stopping_) return true;
  for (const ReplyValue& value : reply.values) {
    SetAppString(value.target, value.text);
    if (value.iniKey) WriteConfig(value.iniKey, value.iniText.c_str());
  }
  if (!reply.hasUpdate) return true;
  CheckForUpdate(GetAppString(AppString::appupdate_version), GetAppString(AppString::appupdate_msg),
                 GetAppString(AppString::appupdate_url), manual);
  if (!stopping_) RefreshHelpImages(mainWindow_, &cancel_);
  return true;
}

void RemoteConfigFetch::CheckForUpdate(const std::string& version, const std::string& note,
                                       const std::string& url, bool manual) {
  if (version.empty() || url.empty() || stopping_) return;
  char own[100] = {};
  if (!GetFileVersionText(own, sizeof own) || !own[0]) return;
  if (!IsNewerVersion(own, version)) {
    if (manual) ui_.tellNoUpdate();
    return;
  }
  if (!ui_.askToUpdate(note) || stopping_) return;
  if (url.find(".exe") == std::string::npos) {
    ui_.openPage(url);
    return;
  }
  // The receiver frees the copy.
  char* copy = static_cast<char*>(std::malloc(url.size() + 1));
  if (!copy) return;
  std::memcpy(copy, url.c_str(), url.size() + 1);
  if (!IsWindow(mainWindow_)) {
    std::free(copy);
    return;
  }
  SendMessageA(mainWindow_, WM_START_UPDATE_DOWNLOAD, 0, reinterpret_cast<LPARAM>(copy));
}

void RefreshHelpImages(HWND mainWindow, HttpCancel* cancel) {
  struct Picture {
    const char* key;
    AppString address;
    const char* file;
  } pictures[] = {
      {"HelpConnImage", AppString::HelpConnImage, "res\\default.png"},
      {"HelpVCamImage", AppString::HelpVCamImage, "res\\default_v.jpg"},
      {"HelpHCamImage", AppString::HelpHCamImage, "res\\default_h.jpg"},
  };
  std::string last[3];
  for (int i = 0; i < 3; ++i) last[i] = ReadConfig(pictures[i].key);
  for (int i = 0; i < 3; ++i) {
    std::string address = GetAppString(pictures[i].address);
    if (address.empty() || address == last[i]) continue;
    int saved =
        SaveUrlToFile(address, ProgramFolder + pictures[i].file, RemoteReplyLimits::kMaxPictureBytes, cancel);
    if (saved && i == 0) SendMessageA(mainWindow, WM_HELP_IMAGE_UPDATED, 0, 0);
  }
  for (const Picture& picture : pictures) WriteConfig(picture.key, GetAppString(picture.address).c_str());
}

int SaveUrlToFile(const std::string& url, const std::string& path, size_t maxBytes, HttpCancel* cancel) {
  std::string body, error;
  if (HttpGet(url, body, error, FetchOptions(maxBytes, cancel)) == 0) return 0;
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 0;
  DWORD written = 0;
  return WriteFile(file.get(), body.data(), static_cast<DWORD>(body.size()), &written, nullptr) &&
                 written == body.size()
             ? 1
             : 0;
}
