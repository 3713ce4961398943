// fake_adb.exe: answers "devices", "-s S shell" and "-s S forward ..." like
// adb does, from a scenario file, so the adb bridge can be tested without a
// phone.
//
// Environment:
//   VELA_FAKE_ADB_SCENARIO  scenario file (missing: every answer is empty)
//   VELA_FAKE_ADB_RECORD    file that gets one line appended per event:
//                           "cmd <command line>", "pid <n>", "stdin <line>",
//                           "holder <pid>" (texts escaped as below)
//
// Scenario lines ("<command>" is devices, shell or forward; "<text>" is the
// rest of the line with the escapes \r \n \t \0 \\ \xHH):
//   devices <text>           appended to the output of "devices"
//   model <serial> <text>    what "getprop" prints in that serial's shell
//   forward <text>           appended to the output of "forward"
//   stderr <command> <text>  written to standard error before the answer
//   fail <serial>            the shell of that serial fails like a gone device
//   delay <command> <ms>     wait before answering
//   hang <command>           never exit after answering
//   holder <command> <ms>    start a child that inherits the output and lives
//                            <ms> (like adb's forked server)
//   exitcode <command> <n>
//   probe <hex handle>       record "probe <hex> open" or "probe <hex> closed":
//                            whether that handle value is open in this process
//   gate <command> <ready> <go>  before answering, set the named event
//                            <ready>, then wait (at most 60 s) for <go>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/fake_common/fake_scenario_files.h"

namespace {

void Record(const std::string& line) {
  AppendRecordLine(kFakeAdbRecordEnv, line);
}

void WriteAll(DWORD which, const std::string& data) {
  if (data.empty()) return;
  DWORD written = 0;
  WriteFile(GetStdHandle(which), data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
}

struct Scenario {
  std::string devices, forward;
  std::vector<std::pair<std::string, std::string>> models, errors;
  std::vector<std::string> failing, hanging;
  std::vector<std::pair<std::string, int>> delays, holders, exitCodes;
  std::vector<std::pair<std::string, std::string>> gates;  // command -> "<ready> <go>"
  std::vector<std::string> probes;
};

Scenario LoadScenario() {
  Scenario sc;
  for (const std::string& line : ReadScenarioLines(kFakeAdbScenarioEnv)) {
    size_t sp = line.find(' ');
    std::string directive = line.substr(0, sp);
    std::string rest = sp == std::string::npos ? std::string() : line.substr(sp + 1);
    size_t sp2 = rest.find(' ');
    std::string first = rest.substr(0, sp2);
    std::string tail = sp2 == std::string::npos ? std::string() : rest.substr(sp2 + 1);
    if (directive == "devices")
      sc.devices += ScenarioUnescape(rest);
    else if (directive == "forward")
      sc.forward += ScenarioUnescape(rest);
    else if (directive == "model")
      sc.models.emplace_back(first, ScenarioUnescape(tail));
    else if (directive == "stderr")
      sc.errors.emplace_back(first, ScenarioUnescape(tail));
    else if (directive == "fail")
      sc.failing.push_back(first);
    else if (directive == "hang")
      sc.hanging.push_back(first);
    else if (directive == "delay")
      sc.delays.emplace_back(first, std::atoi(tail.c_str()));
    else if (directive == "holder")
      sc.holders.emplace_back(first, std::atoi(tail.c_str()));
    else if (directive == "exitcode")
      sc.exitCodes.emplace_back(first, std::atoi(tail.c_str()));
    else if (directive == "gate")
      sc.gates.emplace_back(first, tail);
    else if (directive == "probe")
      sc.probes.push_back(first);
  }
  return sc;
}

template <class T>
bool Find(const std::vector<std::pair<std::string, T>>& v, const std::string& key, T& value) {
  for (const auto& kv : v) {
    if (kv.first == key) {
      value = kv.second;
      return true;
    }
  }
  return false;
}

bool Contains(const std::vector<std::string>& v, const std::string& key) {
  for (const auto& s : v)
    if (s == key) return true;
  return false;
}

// One line from standard input including its line end; false at end of input.
bool ReadLine(std::string& line) {
  line.clear();
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  char c;
  DWORD got = 0;
  while (ReadFile(in, &c, 1, &got, nullptr) && got == 1) {
    line.push_back(c);
    if (c == '\n') return true;
  }
  return !line.empty();
}

void StartHolder(int ms) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string cmd = "fake_adb.exe __hold " + std::to_string(ms);
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION pi{};
  std::vector<char> buf(cmd.begin(), cmd.end());
  buf.push_back('\0');
  if (CreateProcessA(self, buf.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    Record("holder " + std::to_string(pi.dwProcessId));
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == "__hold") {
    Sleep(static_cast<DWORD>(std::atoi(args[1].c_str())));
    return 0;
  }
  Record("cmd " + ScenarioEscape(GetCommandLineA()));
  Record("pid " + std::to_string(GetCurrentProcessId()));

  std::string command, serial;
  if (args.size() == 1 && args[0] == "devices") {
    command = "devices";
  } else if (args.size() >= 3 && args[0] == "-s") {
    serial = args[1];
    command = args[2];
  }
  if (command != "devices" && command != "shell" && command != "forward") {
    WriteAll(STD_ERROR_HANDLE, "fake adb: unknown command\r\n");
    return 1;
  }

  const Scenario sc = LoadScenario();
  for (const std::string& probe : sc.probes) {
    HANDLE h = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(std::strtoull(probe.c_str(), nullptr, 16)));
    DWORD flags = 0;
    Record("probe " + probe + (GetHandleInformation(h, &flags) ? " open" : " closed"));
  }
  std::string gate;
  if (Find(sc.gates, command, gate)) {
    const std::string ready = gate.substr(0, gate.find(' '));
    const std::string go = gate.substr(gate.find(' ') + 1);
    HANDLE readyEvent = OpenEventA(EVENT_MODIFY_STATE, FALSE, ready.c_str());
    HANDLE goEvent = OpenEventA(SYNCHRONIZE, FALSE, go.c_str());
    if (readyEvent) SetEvent(readyEvent);
    if (goEvent) WaitForSingleObject(goEvent, 60000);
    if (readyEvent) CloseHandle(readyEvent);
    if (goEvent) CloseHandle(goEvent);
  }
  int ms = 0;
  if (Find(sc.delays, command, ms)) Sleep(static_cast<DWORD>(ms));
  std::string err;
  if (Find(sc.errors, command, err)) WriteAll(STD_ERROR_HANDLE, err);
  if (Find(sc.holders, command, ms)) StartHolder(ms);

  if (command == "devices") {
    WriteAll(STD_OUTPUT_HANDLE, sc.devices);
  } else if (command == "forward") {
    WriteAll(STD_OUTPUT_HANDLE, sc.forward);
  } else {
    if (Contains(sc.failing, serial)) {
      WriteAll(STD_ERROR_HANDLE, "error: device '" + serial + "' not found\r\n");
      return 1;
    }
    std::string line;
    while (ReadLine(line)) {
      Record("stdin " + ScenarioEscape(line));
      std::string word = line.substr(0, line.find_first_of("\r\n"));
      if (word == "getprop") {
        std::string props;
        Find(sc.models, serial, props);
        WriteAll(STD_OUTPUT_HANDLE, props);
      } else if (word == "exit") {
        break;
      }
    }
  }
  if (Contains(sc.hanging, command)) Sleep(INFINITE);
  int code = 0;
  Find(sc.exitCodes, command, code);
  return code;
}
