#include "framework/text.h"

std::wstring Utf8ToWide(std::string_view text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string WideToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        nullptr);
  return out;
}

int DrawTextUtf8(HDC dc, std::string_view text, RECT* rc, UINT format) {
  std::wstring w = Utf8ToWide(text);
  return DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), rc, format);
}

bool TextOutUtf8(HDC dc, int x, int y, std::string_view text) {
  std::wstring w = Utf8ToWide(text);
  return TextOutW(dc, x, y, w.c_str(), static_cast<int>(w.size())) != FALSE;
}

SIZE MeasureTextUtf8(HDC dc, std::string_view text) {
  std::wstring w = Utf8ToWide(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
  return size;
}
