// Private window messages between the workers and the windows of the main
// dialog. Values are fixed: WM_USER (0x0400) plus an offset.
#pragma once

constexpr unsigned kWmUser = 0x0400;

// Stream thread -> main window, posted; wParam = lParam = 0.
constexpr unsigned WM_STREAM_CONNECTED = kWmUser + 1;
constexpr unsigned WM_STREAM_DISCONNECTED = kWmUser + 2;
// The reason is the worker's GetErrorText.
constexpr unsigned WM_STREAM_CONNECT_FAILED = kWmUser + 3;
// Stream thread -> main window, sent; lParam: NUL-terminated command text, valid during the call.
constexpr unsigned WM_LINK_COMMAND = kWmUser + 4;
// Scan pass -> owner window, sent; count and snapshot array (the receiver uses GetDevices).
constexpr unsigned WM_DEVICE_LIST = kWmUser + 100;
// Download thread -> update window, posted; wParam 1 = installer started, 0 = given up.
constexpr unsigned WM_UPDATE_DONE = kWmUser + 101;
// Configuration fetch -> main window, sent; lParam: heap copy of the installer address, freed by the
// receiver.
constexpr unsigned WM_START_UPDATE_DOWNLOAD = kWmUser + 103;
// Configuration fetch -> main window, sent.
constexpr unsigned WM_HELP_IMAGE_UPDATED = kWmUser + 104;
// Combo list -> its combo box, posted.
constexpr unsigned WM_COMBOLIST_SELECT = kWmUser + 238;
constexpr unsigned WM_COMBOLIST_CLOSED = kWmUser + 239;
