// --dump: writes the raw Annex-B stream of a number of frames to a file, as
// fast as the encoder goes (for decoder tests and benchmarks).
#pragma once
#include "tools/phone_simulator/event_log.h"
#include "tools/phone_simulator/simulator_options.h"

namespace phone_sim {

// Returns the process exit code.
int DumpStream(const SimulatorOptions& options, EventLog& log);

}  // namespace phone_sim
