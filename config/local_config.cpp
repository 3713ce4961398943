#include "config/local_config.h"

#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <vector>

#include "config/core/app_globals.h"

namespace {
constexpr char kSection[] = "Config";
constexpr char kFileName[] = "AppConfig.ini";
constexpr char kDataFolderName[] = "\\Vela直播助手";
// The buffer has 260 characters but is passed as 259, so the value always
// ends in a zero even when the platform fills it completely.
constexpr DWORD kValueBuffer = 260;

DWORD ReadKey(const char* key, const std::string& file, char* buffer) {
  return GetPrivateProfileStringA(kSection, key, "", buffer, kValueBuffer - 1, file.c_str());
}
}  // namespace

std::string GetDataFolder() {
  char base[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathA(nullptr, base, CSIDL_LOCAL_APPDATA, TRUE)) return {};
  std::string folder = std::string(base) + kDataFolderName;
  if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
    if (!CreateDirectoryA(folder.c_str(), nullptr)) return {};
  }
  return folder + "\\";
}

std::string ReadConfig(const char* key) {
  char buffer[kValueBuffer] = {};
  if (ReadKey(key, GetDataFolder() + kFileName, buffer) == 0) {
    ReadKey(key, ProgramFolder + kFileName, buffer);
  }
  return buffer;
}

void WriteConfig(const char* key, const char* value) {
  WritePrivateProfileStringA(kSection, key, value, (GetDataFolder() + kFileName).c_str());
  WritePrivateProfileStringA(kSection, key, value, (ProgramFolder + kFileName).c_str());
}

int GetFileVersionTextOf(const char* path, char* buffer, int size) {
  if (!buffer || size <= 0) return 0;
  DWORD ignored = 0;
  DWORD infoSize = GetFileVersionInfoSizeA(path, &ignored);
  if (infoSize == 0) return 0;
  std::vector<char> info(infoSize);
  if (!GetFileVersionInfoA(path, 0, infoSize, info.data())) return 0;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (!VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed ||
      fixedSize < sizeof(VS_FIXEDFILEINFO)) {
    return 0;
  }
  std::snprintf(buffer, static_cast<size_t>(size), "%d.%d.%d.%d", HIWORD(fixed->dwFileVersionMS),
                LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                LOWORD(fixed->dwFileVersionLS));
  return 1;
}

int GetFileVersionText(char* buffer, int size) {
  char path[MAX_PATH] = {};
  if (!GetModuleFileNameA(nullptr, path, MAX_PATH)) return 0;
  return GetFileVersionTextOf(path, buffer, size);
}
