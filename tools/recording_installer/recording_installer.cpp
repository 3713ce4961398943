// A stand-in for the update installer: writes the command line it was
// started with to "<its own path>.args" and exits. The update tests start it
// through the shell and read what it recorded.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH + 8] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 1;
  lstrcatA(path, ".args");
  // Written under a temporary name and renamed: a reader never sees half a line.
  char temp[MAX_PATH + 16] = {};
  lstrcpyA(temp, path);
  lstrcatA(temp, ".part");
  HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const char* line = GetCommandLineA();
  DWORD written = 0;
  BOOL ok = WriteFile(file, line, lstrlenA(line), &written, nullptr);
  CloseHandle(file);
  return ok && MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
