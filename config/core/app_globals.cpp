#include "config/core/app_globals.h"

#include <array>
#include <mutex>

std::string ProgramFolder;

std::string FolderOfPath(const std::string& modulePath) {
  std::string::size_type slash = modulePath.find_last_of('\\');
  return slash == std::string::npos ? std::string() : modulePath.substr(0, slash + 1);
}

namespace {
std::mutex g_stringsLock;
constexpr size_t kStringCount = static_cast<size_t>(AppString::Count);
std::array<std::string, kStringCount> g_strings;

// Ids outside the list (a cast from a bad number) name no string.
bool Known(AppString id) {
  return static_cast<size_t>(static_cast<unsigned>(id)) < kStringCount;
}
}  // namespace

std::string GetAppString(AppString id) {
  if (!Known(id)) return {};
  std::lock_guard<std::mutex> hold(g_stringsLock);
  return g_strings[static_cast<size_t>(id)];
}

void SetAppString(AppString id, std::string value) {
  if (!Known(id)) return;
  std::lock_guard<std::mutex> hold(g_stringsLock);
  g_strings[static_cast<size_t>(id)] = std::move(value);
}
