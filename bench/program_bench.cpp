// The built program measured from outside, as the user and the cameras meet
// it: this process starts VelaAssistant.exe from its folder (which holds the
// fake adb and the test camera modules, see bench/run_program_bench.sh),
// clicks through window messages and reads "LumoraFileMapping" itself.
//
//   program_bench --program EXE MODE [--runs N] [--seconds S]
//
// Modes (one per run of this program, so the script can change the phone):
//   --startup  start to the window shown and to the first device list (N warm runs)
//   --latency  the simulator's frame stamp to that frame in the section (S seconds)
//   --cpu      user + kernel time over S seconds of streaming, peak working set
//   --stop     disconnect and close while streaming
//   --stop-silent  close while connecting to a phone that never answers (this
//                  process listens on 8984 and never replies)
//   --stop-adb     close while the adb forward hangs (the fake adb's scenario
//                  gets a delay on "forward" for the run)
#include <windows.h>
#include <winsock2.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/program_under_test.h"
#include "bench/stamp_clock.h"
#include "tools/phone_simulator/test_pattern.h"
#include "video/core/frame_section_layout.h"

namespace {

double Percentile(std::vector<double> v, double q) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(q * v.size()))];
}

void PrintSpread(const char* what, const std::vector<double>& ms) {
  std::printf("  %-40s median %7.1f ms, p95 %7.1f, min %7.1f, max %7.1f (%zu)\n", what, Percentile(ms, 0.5),
              Percentile(ms, 0.95), *std::min_element(ms.begin(), ms.end()),
              *std::max_element(ms.begin(), ms.end()), ms.size());
}

bool Startup(ProgramUnderTest& program, int runs) {
  std::vector<double> shown, listed;
  for (int run = 0; run <= runs; ++run) {  // run 0 warms Wine and the file cache
    if (!program.Start()) return false;
    if (!program.WaitForWindow(30000)) return false;
    const double window = program.SinceStartMs();
    if (!program.WaitForDeviceList(30000)) return false;
    const double list = program.SinceStartMs();
    if (run > 0) shown.push_back(window), listed.push_back(list);
    if (program.Close(20000) < 0) return false;
  }
  std::printf("start-up of the program, %d warm runs:\n", runs);
  PrintSpread("start to the main window shown", shown);
  PrintSpread("start to the first device list", listed);
  return true;
}

// Reads stamps from the section in place for `seconds`: a picture is taken
// when the trailer's sequence is even and unchanged across the read.
bool Latency(ProgramUnderTest& program, double seconds) {
  if (!program.StartStreaming()) return false;
  const uint8_t* view = program.section();
  auto sequence = [&] {
    MemoryBarrier();
    return *reinterpret_cast<const volatile uint32_t*>(view + frame_section::kTrailerOffset + 4);
  };
  std::vector<double> latencies;
  int64_t lastNumber = -1;
  int cellSize = 0, skipped = 0, reads = 0;
  uint32_t lastSequence = 1;
  const ULONGLONG start = GetTickCount64();
  while (GetTickCount64() - start < seconds * 1000) {
    const uint32_t before = sequence();
    if ((before & 1u) || before == lastSequence) {
      Sleep(1);
      continue;
    }
    const uint32_t now = WallClockMs();
    int32_t header[2];
    std::memcpy(header, view, sizeof header);
    const uint8_t* pixels = view + frame_section::kPixelOffset;
    const int w = header[0], h = header[1];
    test_pattern::Stamp stamp;
    bool readable = false;
    for (int size = cellSize ? cellSize : std::min(w, h) / 32;
         size <= (cellSize ? cellSize : std::min(w, h) / 10); ++size)
      if (test_pattern::ReadStampBottomUpBgr(pixels, w, h, w * 3, &stamp, size)) {
        cellSize = size;
        readable = true;
        break;
      }
    if (sequence() != before) continue;  // rewritten while read: take the next one
    lastSequence = before;
    ++reads;
    if (!readable) continue;
    if (static_cast<int64_t>(stamp.frame_number) <= lastNumber) continue;  // the same frame again
    if (lastNumber >= 0) skipped += static_cast<int>(stamp.frame_number - lastNumber - 1);
    lastNumber = stamp.frame_number;
    latencies.push_back(static_cast<double>(static_cast<int32_t>(now - stamp.send_time_ms)));
  }
  if (latencies.empty()) {
    std::printf("no stamped picture was read from the section (%d pictures)\n", reads);
    return false;
  }
  const double elapsed = (GetTickCount64() - start) / 1000.0;
  std::printf("frame stamp to the section, %.0f s: %zu new frames (%.1f per second), %d never published\n",
              elapsed, latencies.size(), latencies.size() / elapsed, skipped);
  PrintSpread("capture stamp to picture in the section", latencies);
  program.Close(20000);
  return true;
}

double FileTimeMs(const FILETIME& t) {
  ULARGE_INTEGER v;
  v.LowPart = t.dwLowDateTime;
  v.HighPart = t.dwHighDateTime;
  return v.QuadPart / 10000.0;
}

// Wine reports no CPU times for another process (GetProcessTimes gives 0),
// so the program's Linux process is read too, through Wine's Z: drive: it is
// the one that maps the program file (`path`, as Linux names it).
class LinuxProcess {
 public:
  bool Find(const std::string& path) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    do {
      const std::string name = entry.cFileName;
      if (name.find_first_not_of("0123456789") != std::string::npos) continue;
      if (ReadAll("Z:\\proc\\" + name + "\\maps").find(path) != std::string::npos) {
        proc_ = "Z:\\proc\\" + name + "\\";
        break;
      }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return !proc_.empty();
  }
  // User + system time in milliseconds (fields 14 and 15 of stat, 100 ticks a second).
  double CpuMs() const {
    const std::string stat = ReadAll(proc_ + "stat");
    const size_t end = stat.rfind(')');
    if (end == std::string::npos) return 0;
    unsigned long long field[13] = {};
    std::sscanf(stat.c_str() + end + 2, "%*s %llu %llu %llu %llu %llu %llu %llu %llu %llu %llu %llu %llu",
                &field[1], &field[2], &field[3], &field[4], &field[5], &field[6], &field[7], &field[8],
                &field[9], &field[10], &field[11], &field[12]);
    return (field[11] + field[12]) * 10.0;
  }
  double PeakMiB() const {
    const std::string status = ReadAll(proc_ + "status");
    const size_t at = status.find("VmHWM:");
    return at == std::string::npos ? 0 : std::atof(status.c_str() + at + 6) / 1024.0;
  }

 private:
  static std::string ReadAll(const std::string& path) {
    UniqueHandle file(
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    while (file && ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
      text.append(chunk, got);
    return text;
  }
  std::string proc_;
};

bool Cpu(ProgramUnderTest& program, double seconds) {
  if (!program.StartStreaming()) return false;
  std::string linuxPath = program.exe().substr(2);  // Z:\x\y -> /x/y
  std::replace(linuxPath.begin(), linuxPath.end(), '\\', '/');
  LinuxProcess host;
  const bool found = host.Find(linuxPath);
  auto windowsCpuMs = [&] {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(program.process(), &created, &exited, &kernel, &user);
    return FileTimeMs(kernel) + FileTimeMs(user);
  };
  const double windowsBefore = windowsCpuMs(), linuxBefore = found ? host.CpuMs() : 0;
  const ULONGLONG start = GetTickCount64();
  Sleep(static_cast<DWORD>(seconds * 1000));
  const double windowsUsed = windowsCpuMs() - windowsBefore;
  const double linuxUsed = found ? host.CpuMs() - linuxBefore : 0;
  const double wall = static_cast<double>(GetTickCount64() - start);
  PROCESS_MEMORY_COUNTERS memory{sizeof memory};
  GetProcessMemoryInfo(program.process(), &memory, sizeof memory);
  std::printf("streaming 1280x720 with the preview shown, %.0f s:\n", wall / 1000);
  std::printf("  CPU (Linux process, user + system)        %7.0f ms = %.1f%% of one core%s\n", linuxUsed,
              100 * linuxUsed / wall, found ? "" : " (process not found)");
  std::printf("  CPU (GetProcessTimes)                     %7.0f ms = %.1f%% of one core\n", windowsUsed,
              100 * windowsUsed / wall);
  std::printf("  peak working set (GetProcessMemoryInfo)   %7.1f MiB; peak resident (VmHWM) %.1f MiB\n",
              memory.PeakWorkingSetSize / 1048576.0, found ? host.PeakMiB() : 0.0);
  program.Close(20000);
  return true;
}

bool StopWhileStreaming(ProgramUnderTest& program, int runs) {
  std::vector<double> clicked, narrowed, closed;
  for (int run = 0; run < runs; ++run) {
    if (!program.StartStreaming()) return false;
    const double t0 = NowMs();
    program.Command(1);  // disconnect: returns once the stream thread has ended
    clicked.push_back(NowMs() - t0);
    if (!program.WaitForWidth(730, 20000)) return false;
    narrowed.push_back(NowMs() - t0);
    if (!program.Connect()) return false;
    const double closeMs = program.Close(20000);
    if (closeMs < 0) return false;
    closed.push_back(closeMs);
  }
  std::printf("stopping while streaming 1280x720:\n");
  PrintSpread("disconnect click handled", clicked);
  PrintSpread("disconnect click to the idle window", narrowed);
  PrintSpread("close click to the process gone", closed);
  return true;
}

// A phone on 8984 that the connect reaches and that never answers the greeting.
bool StopWhileConnectingToSilentPhone(ProgramUnderTest& program, int runs) {
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(8984);
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(listener, 4) != 0) {
    std::printf("port 8984 is taken\n");
    closesocket(listener);
    return false;
  }
  std::vector<double> closed;
  bool ok = true;
  for (int run = 0; run < runs && ok; ++run) {
    ok = program.Start() && program.WaitForDeviceList(30000);
    if (ok) program.Command(1);
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(listener, &readable);
    timeval wait{20, 0};
    ok = ok && select(0, &readable, nullptr, nullptr, &wait) == 1;
    SOCKET desktop = ok ? accept(listener, nullptr, nullptr) : INVALID_SOCKET;
    // Once its greeting is here, the program waits for an answer that never comes.
    FD_ZERO(&readable);
    FD_SET(desktop, &readable);
    ok = ok && select(0, &readable, nullptr, nullptr, &wait) == 1;
    const double ms = ok ? program.Close(20000) : -1;
    if (desktop != INVALID_SOCKET) closesocket(desktop);
    ok = ms >= 0;
    if (ok) closed.push_back(ms);
  }
  closesocket(listener);
  if (!ok) return false;
  std::printf("closing while connecting to a phone that never answers:\n");
  PrintSpread("close click to the process gone", closed);
  return true;
}

bool StopWhileAdbHangs(ProgramUnderTest& program, int runs) {
  std::vector<double> closed;
  for (int run = 0; run < runs; ++run) {
    if (!program.Start() || !program.WaitForDeviceList(30000)) return false;
    program.ClearAdbRecord();
    program.Command(1);
    if (!program.WaitForAdbCommand("forward", 20000)) return false;
    const double ms = program.Close(20000);
    if (ms < 0) return false;
    closed.push_back(ms);
  }
  std::printf("closing while the adb forward hangs:\n");
  PrintSpread("close click to the process gone", closed);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string exe, mode;
  int runs = 5;
  double seconds = 20;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--program" && i + 1 < argc)
      exe = argv[++i];
    else if (arg == "--runs" && i + 1 < argc)
      runs = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--seconds" && i + 1 < argc)
      seconds = std::atof(argv[++i]);
    else
      mode = arg;
  }
  if (exe.empty() || mode.empty()) {
    std::printf(
        "usage: program_bench --program EXE --startup|--latency|--cpu|--stop|--stop-silent|"
        "--stop-adb [--runs N] [--seconds S]\n");
    return 2;
  }
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  bool ok = false;
  {
    ProgramUnderTest program(exe);
    if (mode == "--startup")
      ok = Startup(program, runs);
    else if (mode == "--latency")
      ok = Latency(program, seconds);
    else if (mode == "--cpu")
      ok = Cpu(program, seconds);
    else if (mode == "--stop")
      ok = StopWhileStreaming(program, runs);
    else if (mode == "--stop-silent")
      ok = StopWhileConnectingToSilentPhone(program, runs);
    else if (mode == "--stop-adb")
      ok = StopWhileAdbHangs(program, runs);
    if (!ok) std::printf("%s failed: %s\n", mode.c_str(), program.lastError().c_str());
  }
  WSACleanup();
  return ok ? 0 : 1;
}
