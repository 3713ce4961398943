#include "link/command_text.h"

#include <windows.h>

#include <cstring>

std::string CommandPayloadToAnsi(const uint8_t* payload, int32_t length) {
  if (!payload || length <= 0) return {};
  const void* nul = std::memchr(payload, 0, static_cast<size_t>(length));
  const int utf8Length = nul ? static_cast<int>(static_cast<const uint8_t*>(nul) - payload) : length;
  if (utf8Length == 0) return {};
  const char* utf8 = reinterpret_cast<const char*>(payload);

  const int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8, utf8Length, nullptr, 0);
  if (wideLength <= 0) return {};
  std::wstring wide(static_cast<size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, utf8Length, &wide[0], wideLength);

  const int ansiLength =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  if (ansiLength <= 0) return {};
  std::string ansi(static_cast<size_t>(ansiLength), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, &ansi[0], ansiLength, nullptr, nullptr);
  return ansi;
}
