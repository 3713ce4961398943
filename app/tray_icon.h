// The program's notification-area icon, through which the update download
// shows its balloons. The icon is added with the first balloon (or Add) and
// stays until its owner is destroyed; it sends no messages to the window, so
// a click on it does nothing.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

class TrayIcon {
 public:
  static constexpr UINT kIconId = 99;
  static constexpr const char* kTip = "Vela直播助手";

  TrayIcon() = default;
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // The window the icon belongs to and its 16 x 16 picture (not owned: the
  // shell keeps its own copy once the icon is added).
  void SetWindow(HWND window, HICON icon);

  // Adds the icon once, when the window exists; true when it is there.
  bool Add();
  bool IsAdded() const { return added_; }

  // Adds the icon if needed, then shows a balloon. A null text or title
  // counts as empty; longer texts are cut to the shell's fields.
  bool ShowBalloon(const char* text, const char* title, DWORD infoFlags, UINT timeoutMs);

  // Deletes the icon if it was added (the destructor does this too); the
  // owner calls it while its window still exists, at WM_DESTROY.
  void Remove();

 private:
  HWND window_ = nullptr;
  HICON icon_ = nullptr;
  bool added_ = false;
};

// `text` cut to at most `capacity` - 1 bytes without splitting a UTF-8
// character (text in this program is in the UTF-8 code page); null is empty.
std::string FitToField(const char* text, std::size_t capacity);
