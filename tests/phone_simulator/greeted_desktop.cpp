#include "tests/phone_simulator/greeted_desktop.h"

::testing::AssertionResult ConnectAndGreet(DesktopClient& desktop, int port,
                                           const std::string& expected_magic, std::string* xml) {
  if (!desktop.Connect(port)) return ::testing::AssertionFailure() << "cannot connect to port " << port;
  std::string magic, config;
  if (!desktop.Greet(&magic, &config)) return ::testing::AssertionFailure() << "greeting incomplete";
  if (magic != expected_magic)
    return ::testing::AssertionFailure() << "magic " << magic << ", expected " << expected_magic;
  if (xml) *xml = config;
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult ListenAndGreet(SimulatorProcess& sim, DesktopClient& desktop,
                                          const std::vector<std::string>& args, int* port,
                                          const std::string& expected_magic, std::string* xml) {
  const int listening = sim.StartListening(args);
  if (port) *port = listening;
  if (listening <= 0) return ::testing::AssertionFailure() << "not listening\n" << sim.Transcript();
  ::testing::AssertionResult greeted = ConnectAndGreet(desktop, listening, expected_magic, xml);
  if (!greeted) greeted << "\n" << sim.Transcript();
  return greeted;
}
