// What the remote-configuration tests share: the ctest fixture's configuration
// server, a recorder of what the fetch shows and sends, and a scope with a program
// folder of its own (SetEndpoint: its `ConfigUrl`) that leaves the shared texts
// empty and the per-user INI keys as they were.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "config/remote_config.h"
#include "tests/support/message_only_window.h"
#include "tests/support/temp_folder.h"

// "http://127.0.0.1:<server port><path>"; offset 1: a port where nothing listens.
std::string ServerUrl(const std::string& path, int portOffset = 0);
// Serves `xml` as ServerUrl("/replies/<name>/config.php"), which it returns.
std::string ServeReply(const std::string& name, const std::string& xml);
// Requests the server has logged whose line contains `text`.
int LoggedRequests(const std::string& text);

// What the fetch shows and sends to the main window (a message-only window) as one
// text: "question <note>; no update; open <url>; download <url>; help picture; ".
class FetchRecorder {
 public:
  FetchRecorder() : hwnd_(CreateMessageOnlyWindow("FetchRecorder", Proc, this)) {}
  ~FetchRecorder() { DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }
  UpdateUi ui();
  std::string events;
  bool answerYes = true;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_;
};

class RemoteConfigScope {
 public:
  RemoteConfigScope();
  ~RemoteConfigScope();
  void SetEndpoint(const std::string& url);
  std::string PicturePath(const char* name) const { return folder_.path() + "res\\" + name; }

 private:
  TempFolder folder_;
  std::string savedProgramFolder_;
  std::vector<std::string> savedKeys_;
};
