// How long StreamWorker::Stop takes in each state a run can wait in:
// streaming from a live phone simulator, adb hanging on the forward, a
// connect to a phone that never accepts, and a greeting the phone never
// answers. Each state is entered, proven reached, then stopped; the figure is
// the time Stop takes on the calling (window) thread. Target: under 0.5 s.
//
//   stream_stop_bench --port N [--repeat R]     (N: a phone simulator's port)
//
// bench/run_stop_bench.sh starts the simulator and runs this under Wine.
#include <winsock2.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "config/core/app_messages.h"
#include "tests/support/fake_adb_fixture.h"
#include "tests/support/message_only_window.h"
#include "tests/support/pump.h"
#include "tests/video/stream/silent_phone.h"
#include "video/stream_worker.h"

namespace {

constexpr DWORD kReachMs = 20000;

// Counts the worker's posted messages.
struct MessageCounter {
  int connected = 0, ended = 0, failed = 0;
  HWND hwnd = CreateMessageOnlyWindow("VelaStopBenchWindow", Proc, this);
  ~MessageCounter() { DestroyWindow(hwnd); }
  void Clear() { connected = ended = failed = 0; }
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (auto* self = MessageOnlyWindowOwner<MessageCounter>(hwnd, msg, lp)) {
      if (msg == WM_STREAM_CONNECTED) ++self->connected;
      if (msg == WM_STREAM_DISCONNECTED) ++self->ended;
      if (msg == WM_STREAM_CONNECT_FAILED) ++self->failed;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
};

enum class Phone { kSimulator, kUnreachable, kTakesTheGreeting };

struct State {
  const char* name;
  Phone phone;
  bool adbHangs;
};

}  // namespace

int main(int argc, char** argv) {
  int simulatorPort = 0, repeat = 10;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--port")) simulatorPort = std::atoi(argv[i + 1]);
    if (!std::strcmp(argv[i], "--repeat")) repeat = std::max(1, std::atoi(argv[i + 1]));
  }
  if (simulatorPort <= 0) {
    std::fprintf(stderr, "usage: stream_stop_bench --port N [--repeat R]\n");
    return 2;
  }
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);

  FakeAdbFolder adb;
  AdbGate gate;
  MessageCounter counter;
  StreamWorker worker;
  worker.SetNotifyWindow(counter.hwnd);
  const DeviceInfo phone{"Simulated phone", "SIM0001", kDeviceAndroid};
  const State states[] = {
      {"streaming", Phone::kSimulator, false},
      {"adb hanging on the forward", Phone::kSimulator, true},
      {"connecting to a phone that never accepts", Phone::kUnreachable, false},
      {"greeting unanswered", Phone::kTakesTheGreeting, false},
  };

  std::printf("stop time per state, %d runs each (ms: min / median / max; target < 500)\n", repeat);
  int status = 0;
  for (const State& state : states) {
    std::vector<ULONGLONG> times;
    for (int run = 0; run < repeat; ++run) {
      // A fresh silent phone per run: a used one still holds the last run's connection.
      SilentPhone silent(state.phone == Phone::kUnreachable ? SilentPhone::kUnreachable
                                                            : SilentPhone::kTakesTheGreeting);
      counter.Clear();
      adb.SetScenario(state.adbHangs ? gate.Directive("forward") : "");
      const size_t adbRuns = adb.Pids().size();
      worker.SetEndpoint("127.0.0.1", state.phone == Phone::kSimulator ? static_cast<uint16_t>(simulatorPort)
                                                                       : silent.port());
      worker.Start(&phone);
      bool reached;
      if (state.adbHangs) {
        reached = gate.WaitReady(kReachMs);
      } else if (state.phone == Phone::kSimulator) {
        // Connected, and still streaming half a second later.
        reached = PumpUntil([&] { return counter.connected > 0; }, kReachMs) &&
                  !PumpUntil([&] { return counter.ended > 0; }, 500);
      } else if (state.phone == Phone::kUnreachable) {
        // The forward's fake adb has gone and the connect is still pending.
        reached = silent.unreachable() && PumpUntil([&] { return adb.Pids().size() > adbRuns; }, kReachMs) &&
                  ProcessEnds(adb.Pids()[adbRuns], kReachMs) &&
                  !PumpUntil([&] { return counter.ended + counter.failed > 0; }, 300);
      } else {
        reached = PumpUntil([&] { return silent.ReceivedBytes() >= 5; }, kReachMs);
      }
      if (!reached) {
        std::printf("%-42s the run never got into this state\n", state.name);
        status = 1;
        worker.Stop();
        break;
      }
      const ULONGLONG before = GetTickCount64();
      worker.Stop();
      times.push_back(GetTickCount64() - before);
      PumpMessages();
    }
    if (times.empty()) continue;
    std::sort(times.begin(), times.end());
    std::printf("%-42s %5llu / %5llu / %5llu\n", state.name, times.front(), times[times.size() / 2],
                times.back());
    if (times.back() >= 500) status = 1;
  }
  WSACleanup();
  return status;
}
