// Process-wide values shared across subsystems: the program folder and the
// texts that the INI file and the remote configuration provide.
#pragma once
#include <string>

// Folder of the program file with a trailing backslash, set once at start.
extern std::string ProgramFolder;

// The folder part of a module path: everything up to and including the last
// backslash (empty when there is none).
std::string FolderOfPath(const std::string& modulePath);

// The shared texts, empty at start: the eleven that the configuration names,
// and the update's installer hash and signature (the update check).
enum class AppString {
  ConnTips,
  AppName,
  AppUrl,
  OpenDebugModeUrl,
  AdbDriveUrl,
  HelpConnImage,
  HelpVCamImage,
  HelpHCamImage,
  appupdate_version,
  appupdate_msg,
  appupdate_url,
  appupdate_sha256,
  appupdate_sig,
  Count
};

// Thread-safe: the configuration fetch writes while the window thread reads.
std::string GetAppString(AppString id);
void SetAppString(AppString id, std::string value);
