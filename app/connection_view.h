// The main window's three looks of a connection: idle, connecting and
// connected. One place sets the connect button's faces, icon and label, which
// controls are usable, whether the overlay buttons and the panel show, and the
// window's width (730 idle, 1080 connected; 648 high always).
#pragma once
#include <windows.h>

class ComboBox;
class CIconButton;
class LoadingButton;

enum class ConnectionState { kIdle, kConnecting, kConnected };

struct ConnectionControls {
  HWND window = nullptr;  // the main window, resized between the states
  LoadingButton* connect = nullptr;
  ComboBox* deviceBox = nullptr;
  CIconButton* refresh = nullptr;
  CIconButton* overlays[3] = {};  // vertical flip, horizontal mirror, mode
};

class ConnectionView {
 public:
  static constexpr int kIdleWidth = 730;
  static constexpr int kConnectedWidth = 1080;
  static constexpr int kHeight = 648;
  static constexpr COLORREF kIdleTextColor = RGB(255, 255, 255);
  static constexpr COLORREF kConnectedTextColor = RGB(0x59, 0x59, 0x59);

  void Attach(const ConnectionControls& controls) { controls_ = controls; }
  // The remote panel's root window, shown only while connected (may be null).
  void SetPanel(HWND panel) { panel_ = panel; }

  // Gives every control the look of `state`; idle and connected also set the
  // window's width, connecting leaves the layout and the device box alone.
  void Show(ConnectionState state);
  // Only the connect button's idle face (a disconnect click, before the
  // worker's WM_STREAM_DISCONNECTED brings the rest of the idle look).
  void ShowIdleButton();

  ConnectionState state() const { return state_; }

 private:
  void SetButtonLook(ConnectionState state);
  void SetWidth(int width);

  ConnectionControls controls_;
  HWND panel_ = nullptr;
  ConnectionState state_ = ConnectionState::kIdle;
};
