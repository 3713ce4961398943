// What the remote-configuration tests share: the configuration server that
// the ctest fixture runs (its addresses, the replies the tests give it, its
// request log), a window that records what the fetch sends to the main
// window, and a scope that gives a test its own program folder and puts the
// shared texts and the per-user INI keys back afterwards.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "config/core/app_globals.h"
#include "tests/support/temp_folder.h"

// "http://127.0.0.1:<server port><path>".
std::string ServerUrl(const std::string& path);
// The same on the next port, where nothing listens.
std::string AbsentServerUrl(const std::string& path);
// Serves `xml` as ServerUrl("/replies/<name>/config.php"), which it returns.
std::string ServeReply(const std::string& name, const std::string& xml);
// Requests the server has logged whose line contains `text`.
int LoggedRequests(const std::string& text);

// A message-only window standing in for the main window.
class MainWindowRecorder {
 public:
  MainWindowRecorder();
  ~MainWindowRecorder();
  HWND hwnd() const { return hwnd_; }
  int helpImageUpdates = 0;
  std::vector<std::string> updateAddresses;  // WM_START_UPDATE_DOWNLOAD texts (freed here)

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_;
};

// A program folder of its own (with "res"), the configuration endpoint set in
// its "AppConfig.ini", empty shared texts; on leaving, the shared texts and
// the per-user INI keys the fetch writes are as they were.
class RemoteConfigScope {
 public:
  RemoteConfigScope();
  ~RemoteConfigScope();
  void SetEndpoint(const std::string& url);
  std::string PicturePath(const char* name) const { return folder_.path() + "res\\" + name; }

 private:
  TempFolder folder_;
  std::string savedProgramFolder_;
  std::vector<std::string> savedTexts_;
  std::vector<std::string> savedKeys_;
};
