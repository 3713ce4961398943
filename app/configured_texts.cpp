#include "app/configured_texts.h"

#include <string>

#include "config/core/app_globals.h"
#include "config/local_config.h"

namespace {

std::string WithLineBreaks(std::string text) {
  static const std::string kBreak = "</br>";
  for (size_t at = text.find(kBreak); at != std::string::npos; at = text.find(kBreak, at + 1))
    text.replace(at, kBreak.size(), "\n");
  return text;
}

void SetWhenConfigured(AppString id, std::string value) {
  if (!value.empty()) SetAppString(id, std::move(value));
}

}  // namespace

void LoadConfiguredTexts() {
  SetWhenConfigured(AppString::ConnTips, WithLineBreaks(ReadConfig("ConnTips")));
  SetWhenConfigured(AppString::AppName, ReadConfig("AppName"));
  SetWhenConfigured(AppString::AppUrl, ReadConfig("AppUrl"));
  SetAppString(AppString::OpenDebugModeUrl, ReadConfig("OpenDebugModeUrl"));
  SetAppString(AppString::AdbDriveUrl, ReadConfig("AdbDriveUrl"));
}
