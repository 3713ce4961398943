// The update download: a hidden child window of the main dialog that owns
// the download thread and receives its end (WM_UPDATE_DONE).
//
// The thread first checks the offer (the maker's signature over version,
// address and SHA-256: nothing unsigned is even downloaded), then saves the
// installer in the user's temporary folder (the
// program runs elevated, and its current directory is often a system
// folder) under a temporary name, renames it, opens it so that it cannot be
// changed any more, checks its SHA-256 (config/update_check.h) and only then
// starts it with "?update=true". A
// refused installer is deleted, nothing starts and the user is told why; a
// failed or cut-off download offers another attempt.
//
// Owner and shutdown: the main dialog owns one CDownloadUpdate; Stop (at the
// window's WM_DESTROY, which the main dialog's destruction brings, and in
// the destructor) cancels the transfer, answers an open question with No and
// joins while pumping sent messages, so shutdown never waits for the network
// or the user.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "config/core/app_messages.h"
#include "config/http_client.h"
#include "config/update_check.h"
#include "framework/message_map.h"
#include "framework/window.h"
#include "framework/worker_thread.h"

// An installer is at most 256 MiB (a real one is a few tens of MiB); it is
// held in memory until it has arrived whole.
constexpr size_t kMaxInstallerBytes = 256u << 20;

// What the download shows and starts. The program's: tray balloons, message
// boxes without an owner on the download thread, ShellExecuteA; tests record.
struct UpdateDownloadUi {
  std::function<void(const char* text)> balloon;             // window thread
  std::function<bool()> askRetry;                            // download thread; true for Yes
  std::function<void(const std::string& text)> tellFailure;  // download or window thread
  std::function<bool(const std::string& path, const char* parameters)> startInstaller;  // download thread
  std::function<void(const std::string& url)> openPage;                                 // window thread
};
// Message boxes and the shell; `balloon` shows a tray balloon.
UpdateDownloadUi DefaultUpdateDownloadUi(std::function<void(const char* text)> balloon);

// The offer the configuration fetch has just stored, for the installer `url`.
UpdateOffer CurrentUpdateOffer(const std::string& url);
// The user's temporary folder with a trailing backslash.
std::string UserTempFolder();

class CDownloadUpdate : public CWindowImpl<CDownloadUpdate> {
 public:
  explicit CDownloadUpdate(UpdateDownloadUi ui, std::string publicKeyHex = ReleaseUpdatePublicKey(),
                           std::string folder = UserTempFolder());
  ~CDownloadUpdate() override;

  // Window thread. An address whose file name does not end in ".exe" is a
  // web page: it opens in the browser and nothing is downloaded (false).
  // Otherwise creates the hidden window as a child of `parent`, shows the
  // balloon and starts the download thread (true). Once per object.
  bool StartUpdateDownload(HWND parent, const UpdateOffer& offer);
  void Stop();
  bool IsRunning() const { return thread_.IsRunning(); }
  // -1 while running (or never started), 0 given up or refused, 1 installer started.
  int result() const { return result_; }

  BEGIN_MSG_MAP(CDownloadUpdate)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_UPDATE_DONE, OnUpdateDone)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
  END_MSG_MAP()

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnUpdateDone(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  void Run();                                   // the download thread
  int DownloadOnce(const std::string& digest);  // 1 started, 0 refused, -1 the download failed
  void Finish(int result);

  UpdateDownloadUi ui_;
  std::string publicKeyHex_;
  std::string folder_;
  UpdateOffer offer_;
  std::string fileName_, tempName_;
  std::atomic<HWND> window_{nullptr};
  std::atomic<bool> stopping_{false};
  int result_ = -1;
  HttpCancel cancel_;
  WorkerThread thread_;
};
