// Support for the stream worker tests: the simulators' ports and a window
// that records the worker's messages; the bounded message pump and the
// program folder holding the fake adb come from the shared test support.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "link/core/device_info.h"
#include "tests/support/fake_adb_fixture.h"  // FakeAdbFolder (the fake adb answers "forward" with success), PumpUntil

// Simulators started by simulators.sh, at SIMULATOR_BASE_PORT + offset.
enum SimulatorPort : int {
  kPlainSim = 0,          // reverse_v 0, reverse_h 0
  kReverseVSim = 1,       // reverse_v 1
  kCommandSim = 5,        // no video; one Command after the handshake
  kRestartSim = 6,        // plain, for the back-to-back runs
  kCloseMidFrameSim = 8,  // closes in the middle of a Video frame 0.5 s after the handshake
  kNoListener = 15,       // nothing listens here
};
inline uint16_t PortOf(int offset) {
  return static_cast<uint16_t>(SIMULATOR_BASE_PORT + offset);
}

// The command that kCommandSim sends, as the window receives it (UTF-8 here).
constexpr const char kSimulatorCommand[] = "<test text=\"命令一\"/>";

// A message-only window that records the stream worker's posted messages and
// the text of every WM_LINK_COMMAND.
class RecordingWindow {
 public:
  RecordingWindow();
  ~RecordingWindow();
  HWND hwnd() const { return hwnd_; }

  std::vector<UINT> messages;  // WM_STREAM_* in arrival order
  std::vector<std::string> commands;
  // How many of `message` arrived so far.
  size_t Count(UINT message) const;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
};
