// How the borderless main window behaves as a window: centred on its
// monitor's work area, dragged by its top band, minimised to the taskbar,
// and re-shaped (rounded region, title buttons at the right edge) whenever
// its size changes.
#pragma once
#include <windows.h>

// Centres `window`: a child window in its parent's client area; any other
// window on `reference` (else its owner) when that is visible and not
// minimised, else on the work area of the nearest monitor, kept inside that
// work area. Leaves the window where it is when the monitor cannot be read.
void CenterWindow(HWND window, HWND reference = nullptr);

// Gives `window` a rounded region of `width` x `height` (corner size 4).
void SetRoundedRegion(HWND window, int width, int height);

class WindowFrame {
 public:
  static constexpr int kCaptionHeight = 68;
  // Title buttons: 34 x 34 at y = 8, their left edges this far from the right.
  static constexpr int kButtonSize = 34;
  static constexpr int kButtonTop = 8;
  static constexpr int kCloseOffset = 45;
  static constexpr int kMinimizeOffset = 85;
  static constexpr int kSettingsOffset = 125;

  void Attach(HWND window) { window_ = window; }
  // The three title buttons; until they exist a size change moves nothing.
  void SetTitleButtons(HWND close, HWND minimize, HWND settings);

  // WM_SIZE: a new region and title-button positions when the window is
  // wider than 200 pixels (not while minimised), the caption band always.
  void OnSize();
  // WM_LBUTTONDOWN: a press in the caption band starts the system's window
  // move; returns true when it did (the message is then handled).
  bool OnLButtonDown(LPARAM point);
  // Command 6: to the taskbar, restored from there like any window.
  void Minimize();

  // The band of the client area that drags the window: the top 68 pixels.
  const RECT& CaptionRect() const { return captionRect_; }

 private:
  HWND window_ = nullptr;
  HWND close_ = nullptr;
  HWND minimize_ = nullptr;
  HWND settings_ = nullptr;
  RECT captionRect_{};
};
