#include "config/update_download.h"

#include <shellapi.h>

#include <cctype>

#include "config/core/app_globals.h"
#include "config/core/update_names.h"
#include "framework/handles.h"

namespace {

const char kBalloonStarted[] = "已切换至后台更新，下载完毕后将提示您安装";
const char kBalloonDone[] = "更新下载完毕";
const char kBadAddress[] = "更新地址无效，无法下载更新。";
const char kMoveFailed[] = "无法保存下载的更新文件，已取消安装。";

// Posts "No" to the message boxes of the download thread; a box ends with
// the id of any button command it receives.
BOOL CALLBACK AnswerNo(HWND window, LPARAM) {
  PostMessageA(window, WM_COMMAND, IDNO, 0);
  return TRUE;
}

bool EndsWithExe(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".exe";
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

}  // namespace

UpdateDownloadUi DefaultUpdateDownloadUi(std::function<void(const char* text)> balloon) {
  UpdateDownloadUi ui;
  ui.balloon = std::move(balloon);
  ui.askRetry = [] {
    return MessageBoxA(nullptr, "下载更新失败，是否继续尝试下载？", "提示", MB_YESNO) == IDYES;
  };
  ui.tellFailure = [](const std::string& text) {
    MessageBoxA(nullptr, text.c_str(), "软件更新", MB_OK | MB_ICONWARNING);
  };
  ui.startInstaller = [](const std::string& path, const char* parameters) {
    return reinterpret_cast<INT_PTR>(
               ShellExecuteA(nullptr, "open", path.c_str(), parameters, nullptr, SW_SHOW)) > 32;
  };
  ui.openPage = [](const std::string& url) {
    ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOW);
  };
  return ui;
}

UpdateOffer CurrentUpdateOffer(const std::string& url) {
  return {GetAppString(AppString::appupdate_version), url, GetAppString(AppString::appupdate_sha256),
          GetAppString(AppString::appupdate_sig)};
}

std::string UserTempFolder() {
  char path[MAX_PATH + 1] = {};
  DWORD n = GetTempPathA(sizeof path, path);
  if (n == 0 || n >= sizeof path) return {};
  std::string folder(path, n);
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

CDownloadUpdate::CDownloadUpdate(UpdateDownloadUi ui, std::string publicKeyHex, std::string folder)
    : ui_(std::move(ui)), publicKeyHex_(std::move(publicKeyHex)), folder_(std::move(folder)) {}

CDownloadUpdate::~CDownloadUpdate() {
  Stop();
  if (IsWindow()) DestroyDetached();
}

bool CDownloadUpdate::StartUpdateDownload(HWND parent, const UpdateOffer& offer) {
  if (thread_.handle() || m_hWnd) return false;
  if (!UpdateFileNames(offer.url, fileName_, tempName_) || folder_.empty()) {
    if (ui_.tellFailure) ui_.tellFailure(kBadAddress);
    return false;
  }
  if (!EndsWithExe(fileName_)) {
    ui_.openPage(offer.url);
    return false;
  }
  offer_ = offer;
  RECT none{0, 0, 0, 0};
  if (!Create(parent, none, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN)) return false;
  if (ui_.balloon) ui_.balloon(kBalloonStarted);
  cancel_.Reset();
  stopping_ = false;
  return thread_.Start([this] { Run(); });
}

void CDownloadUpdate::Stop() {
  if (!thread_.handle()) return;
  stopping_ = true;
  cancel_.Cancel();
  // A question may be open (or about to open): answer it until the thread ends.
  while (!thread_.JoinPumping(50)) EnumThreadWindows(thread_.id(), AnswerNo, 0);
}

LRESULT CDownloadUpdate::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  ShowWindow(SW_HIDE);
  window_ = m_hWnd;
  return 0;
}

LRESULT CDownloadUpdate::OnUpdateDone(UINT, WPARAM wParam, LPARAM, BOOL&) {
  result_ = wParam == 1 ? 1 : 0;
  thread_.JoinPumping();  // it ends right after posting
  DestroyWindow();
  if (result_ == 1 && ui_.balloon) ui_.balloon(kBalloonDone);
  return 0;
}

LRESULT CDownloadUpdate::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  Stop();
  window_ = nullptr;
  handled = FALSE;
  return 0;
}

void CDownloadUpdate::Run() {
  std::string digest;
  UpdateCheck check = CheckOffer(offer_, publicKeyHex_, digest);
  if (check != UpdateCheck::kOk) {
    if (!stopping_) ui_.tellFailure(UpdateCheckText(check));
    return Finish(0);
  }
  for (;;) {
    int outcome = DownloadOnce(digest);
    if (outcome >= 0) return Finish(outcome);
    // Failed or cut off: nothing of it is kept; the user may try again.
    if (stopping_ || !ui_.askRetry() || stopping_) return Finish(0);
  }
}

int CDownloadUpdate::DownloadOnce(const std::string& digest) {
  const std::string finalPath = folder_ + fileName_, tempPath = folder_ + tempName_;
  DeleteFileA(finalPath.c_str());
  DeleteFileA(tempPath.c_str());
  {
    HttpOptions options;
    options.maxBytes = kMaxInstallerBytes;
    options.cancel = &cancel_;
    std::string body, error;
    if (HttpGet(offer_.url, body, error, options) == 0 || !WriteWholeFile(tempPath, body)) {
      DeleteFileA(tempPath.c_str());
      return -1;
    }
  }
  if (!MoveFileExA(tempPath.c_str(), finalPath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(tempPath.c_str());
    if (!stopping_) ui_.tellFailure(kMoveFailed);
    return 0;
  }
  // Held open without write or delete sharing from the check until the
  // installer has started: the checked bytes are the bytes that run.
  UniqueHandle installer(CreateFileA(finalPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  UpdateCheck check = installer ? CheckInstallerFile(installer.get(), digest) : UpdateCheck::kUnreadable;
  if (check != UpdateCheck::kOk || stopping_) {
    installer.reset();
    DeleteFileA(finalPath.c_str());
    if (check != UpdateCheck::kOk && !stopping_) ui_.tellFailure(UpdateCheckText(check));
    return 0;
  }
  // A failure to start is not reported: the file stays for the user to run.
  ui_.startInstaller(finalPath, "?update=true");
  return 1;
}

void CDownloadUpdate::Finish(int result) {
  if (HWND window = window_) ::PostMessageA(window, WM_UPDATE_DONE, result == 1 ? 1 : 0, 0);
}
