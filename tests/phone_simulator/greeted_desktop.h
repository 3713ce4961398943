// The set-up most simulator tests share: a simulator listening on a free
// port and a desktop that has connected and completed the greeting.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/phone_simulator/desktop_client.h"
#include "tests/phone_simulator/simulator_process.h"

// Connects `desktop` to 127.0.0.1:port and greets; fails unless the answer
// magic is `expected_magic`. The configuration XML goes to *xml when given.
::testing::AssertionResult ConnectAndGreet(DesktopClient& desktop, int port,
                                           const std::string& expected_magic = "LNK10",
                                           std::string* xml = nullptr);

// Starts `sim` with "--port 0" plus `args`, then ConnectAndGreet; a failure
// carries the simulator's transcript. The port goes to *port and the
// configuration XML to *xml when given.
::testing::AssertionResult ListenAndGreet(SimulatorProcess& sim, DesktopClient& desktop,
                                          const std::vector<std::string>& args, int* port = nullptr,
                                          const std::string& expected_magic = "LNK10",
                                          std::string* xml = nullptr);
