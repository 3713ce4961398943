// The listener: accepts one desktop at a time on 127.0.0.1 and runs a
// LinkSession for it; the next desktop is accepted when that one has gone.
// Ends on SIGINT/SIGTERM (delivered through a signalfd) or after the
// configured idle time.
#pragma once
#include <memory>
#include <string>

#include "tools/phone_simulator/event_log.h"
#include "tools/phone_simulator/link_session.h"
#include "tools/phone_simulator/simulator_options.h"
#include "tools/phone_simulator/socket_io.h"

namespace phone_sim {

class LinkServer {
 public:
  LinkServer(const SimulatorOptions& options, EventLog& log);
  ~LinkServer();

  // SIGINT and SIGTERM must already be blocked in every thread (see main).
  // Returns the process exit code.
  int Run();

 private:
  // --stdin-commands: complete lines go to the session as Commands or Blobs.
  void HandleInputLine(const std::string& line);

  const SimulatorOptions& options_;
  EventLog& log_;
  UniqueFd session_done_;  // eventfd the session thread signals when it ends
  std::unique_ptr<LinkSession> session_;
};

}  // namespace phone_sim
