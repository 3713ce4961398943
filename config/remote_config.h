// The remote configuration: at start, and when the user asks for an update
// check, a fetch thread GETs the configuration reply, puts its texts into
// AppStrings and "AppConfig.ini", asks about a newer version and refreshes
// the help pictures. The window never waits for the network.
//
// Owner and shutdown: the main dialog owns one RemoteConfigFetch. At most
// one fetch runs; a request while one runs is dropped. Stop (called by the
// owner's window thread at WM_DESTROY, and by the destructor) cancels the
// HTTP transfer in flight (HttpCancel closes its request handle), dismisses
// an update question the fetch thread shows, and joins while delivering the
// messages the fetch sends to the main window, so it returns promptly even
// against a server that never answers.
//
// Endpoint: kDefaultConfigEndpoint (a build setting, VELA_CONFIG_ENDPOINT),
// unless "AppConfig.ini" has a `ConfigUrl` key (tests, the demo, a mirror).
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "config/http_client.h"
#include "framework/worker_thread.h"

#ifndef VELA_CONFIG_ENDPOINT
#define VELA_CONFIG_ENDPOINT "http://config.vela.example/assistant/config.php"
#endif
constexpr const char* kDefaultConfigEndpoint = VELA_CONFIG_ENDPOINT;

// The endpoint in use: the `ConfigUrl` key when it is set, else the default.
std::string ConfigEndpoint();

// What the fetch shows the user. The program's are message boxes on the fetch
// thread without an owner; tests record instead.
struct UpdateUi {
  // The update question with the release note; true for Yes.
  std::function<bool(const std::string& note)> askToUpdate;
  // A manual check found nothing newer.
  std::function<void()> tellNoUpdate;
  // An update address that is a web page.
  std::function<void(const std::string& url)> openPage;
};
UpdateUi MessageBoxUpdateUi();

class RemoteConfigFetch {
 public:
  // `mainWindow` receives WM_START_UPDATE_DOWNLOAD and WM_HELP_IMAGE_UPDATED.
  explicit RemoteConfigFetch(HWND mainWindow, UpdateUi ui = MessageBoxUpdateUi());
  ~RemoteConfigFetch() { Stop(); }
  RemoteConfigFetch(const RemoteConfigFetch&) = delete;
  RemoteConfigFetch& operator=(const RemoteConfigFetch&) = delete;

  // Starts a fetch on the fetch thread unless one runs (then false: dropped).
  // manual: asked by the user, who then hears "no update" too.
  bool StartRemoteConfigFetch(bool manual);
  // Cancels and joins the fetch (pumping sent messages); no-op when none runs.
  void Stop();
  bool IsRunning() const { return thread_.IsRunning(); }

 private:
  // True when a reply was received (whether or not it parsed).
  bool Fetch(bool manual);
  void CheckForUpdate(const std::string& version, const std::string& note, const std::string& url,
                      bool manual);
  void DismissQuestions();

  HWND mainWindow_;
  UpdateUi ui_;
  HttpCancel cancel_;
  std::atomic<bool> stopping_{false};
  WorkerThread thread_;
};

// Downloads the help pictures whose addresses changed since the last time,
// tells `mainWindow` when the connection picture was replaced, and stores the
// new addresses (also when a download failed).
void RefreshHelpImages(HWND mainWindow, HttpCancel* cancel);

// GETs `url` (at most `maxBytes`) and writes the body to `path`; the file is
// created only once the whole body has arrived. 1 on success, else 0.
int SaveUrlToFile(const std::string& url, const std::string& path, size_t maxBytes, HttpCancel* cancel);
