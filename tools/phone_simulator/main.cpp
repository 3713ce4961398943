// phone_simulator: plays the phone app's side of the link for the desktop
// program's tests, demos and benchmarks. See --help.
#include <signal.h>

#include <cstdio>

#include "tools/phone_simulator/event_log.h"
#include "tools/phone_simulator/link_server.h"
#include "tools/phone_simulator/simulator_options.h"
#include "tools/phone_simulator/stream_dump.h"

int main(int argc, char** argv) {
  phone_sim::SimulatorOptions options;
  std::string error;
  if (!phone_sim::ParseOptions(argc, argv, &options, &error)) {
    std::fprintf(stderr, "phone_simulator: %s\nTry --help.\n", error.c_str());
    return 1;
  }
  if (options.help) {
    std::fputs(phone_sim::UsageText().c_str(), stdout);
    return 0;
  }
  // Block the stop signals before any thread exists, so every thread inherits
  // the mask and the server alone receives them through its signalfd.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  phone_sim::EventLog log;
  if (!options.log_path.empty() && !log.OpenFile(options.log_path)) {
    std::fprintf(stderr, "phone_simulator: cannot open log file %s\n", options.log_path.c_str());
    return 1;
  }
  if (!options.dump_path.empty()) return phone_sim::DumpStream(options, log);
  phone_sim::LinkServer server(options, log);
  return server.Run();
}
