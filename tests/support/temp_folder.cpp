#include "tests/support/temp_folder.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "framework/unique_owner.h"

namespace {

struct FindTraits {
  static bool IsValid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void Release(HANDLE h) { FindClose(h); }
};

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA fd;
  UniqueOwner<HANDLE, FindTraits> find(FindFirstFileA((folder + "*").c_str(), &fd));
  if (find) {
    do {
      const std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = folder + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full + "\\");
      } else {
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(find.get(), &fd));
  }
  find.reset();
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

TempFolder::TempFolder() {
  static std::atomic<unsigned> counter{0};
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  char name[MAX_PATH + 64];
  std::snprintf(name, sizeof(name), "%svela-test-%lu-%u-%llu\\", base, GetCurrentProcessId(), counter++,
                static_cast<unsigned long long>(GetTickCount64()));
  path_ = name;
  CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  RemoveTree(path_);
}

std::string WinePath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string ReadFileBytes(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFileBytes(const std::string& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}
