#include "tests/video/section_reader_run.h"

#include <windows.h>

#include "framework/handles.h"
#include "tests/support/temp_folder.h"

namespace {}  // namespace

ToolRun RunSectionReader(const std::string& arguments) {
  ToolRun run;
  TempFolder folder;
  const std::string outputFile = folder.path() + "out.txt";
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  UniqueHandle output(CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!output) return run;
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = output.get();
  si.hStdError = output.get();
  PROCESS_INFORMATION pi{};
  std::string commandLine = "\"" + WinePath(SECTION_READER_PATH) + "\" " + arguments;
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &si, &pi))
    return run;
  UniqueHandle process(pi.hProcess), thread(pi.hThread);
  if (WaitForSingleObject(process.get(), 30000) != WAIT_OBJECT_0) {
    TerminateProcess(process.get(), 1);
    return run;
  }
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  run.exitCode = static_cast<int>(code);
  output.reset();
  run.output = ReadFileBytes(outputFile);
  return run;
}

std::string UniqueSectionName(const char* purpose) {
  return std::string("VelaTest-") + purpose + "-" + std::to_string(GetCurrentProcessId());
}
