#include "app/tray_icon.h"

#include <shellapi.h>

#include <cstring>

namespace {

// The record every call starts from: this window's icon number 99.
NOTIFYICONDATAA BaseRecord(HWND window) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = TrayIcon::kIconId;
  return data;
}

template <std::size_t N>
void CopyField(char (&field)[N], const char* text) {
  std::string fitted = FitToField(text, N);
  std::memcpy(field, fitted.c_str(), fitted.size() + 1);
}

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string FitToField(const char* text, std::size_t capacity) {
  if (!text || capacity == 0) return {};
  std::size_t length = strnlen(text, capacity);
  if (length < capacity) return std::string(text, length);
  // Too long: keep capacity - 1 bytes, backing off to a character start.
  length = capacity - 1;
  while (length > 0 && IsContinuationByte(text[length])) --length;
  return std::string(text, length);
}

TrayIcon::~TrayIcon() {
  Remove();
}

void TrayIcon::SetWindow(HWND window, HICON icon) {
  window_ = window;
  icon_ = icon;
}

bool TrayIcon::Add() {
  if (added_) return true;
  if (!::IsWindow(window_)) return false;
  NOTIFYICONDATAA data = BaseRecord(window_);
  // NIF_MESSAGE with callback 0: the shell posts nothing to the window.
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = 0;
  data.hIcon = icon_;
  CopyField(data.szTip, kTip);
  // Counted as added even when the shell refuses: one attempt per run.
  added_ = true;
  return ::Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

bool TrayIcon::ShowBalloon(const char* text, const char* title, DWORD infoFlags, UINT timeoutMs) {
  Add();
  NOTIFYICONDATAA data = BaseRecord(window_);
  data.uFlags = NIF_INFO;
  CopyField(data.szInfo, text);
  CopyField(data.szInfoTitle, title);
  data.uTimeout = timeoutMs;
  data.dwInfoFlags = infoFlags;
  return ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

void TrayIcon::Remove() {
  if (!added_) return;
  NOTIFYICONDATAA data = BaseRecord(window_);
  ::Shell_NotifyIconA(NIM_DELETE, &data);
  added_ = false;
}
