// Command-line options of the phone simulator.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace phone_sim {

struct SimulatorOptions {
  // Listener
  int port = 8984;
  double exit_after_idle_s = 0;  // 0: never; idle = no desktop connected

  // Handshake
  int reverse_v = 0;
  int reverse_h = 0;
  bool custom_config = false;  // send `config_xml` verbatim instead of the reverse flags
  std::string config_xml;
  bool wrong_magic = false;

  // Video
  int width = 1280;
  int height = 720;
  int fps = 30;
  int bitrate_kbps = 0;
  std::string preset = "veryfast";
  int noise = 0;        // 0-64: per-pixel luma noise in the background, new every frame
  int chunk_min = 512;  // Video payload sizes, inclusive
  int chunk_max = 16384;
  int frames_per_message = 0;  // >0: each message holds exactly this many whole frames
  bool carry_tail = false;     // hold a frame's last piece back so messages span frames
  uint32_t seed = 1;
  bool no_video = false;
  double rotate_every_s = 0;  // >0: swap width and height this often, like a phone being turned

  // Faults (seconds after the handshake; <0: off)
  double silent_after_s = -1;
  double close_mid_frame_after_s = -1;
  double oversize_after_s = -1;
  int64_t oversize_length = 0x7FFFFFFF;

  // Commands from the phone (sent as Command messages after the handshake)
  std::vector<std::string> commands;
  int command_interval_ms = 0;  // >0: send the list again at this interval
  // Blobs (name, file) sent after the greeting, before the commands.
  std::vector<std::pair<std::string, std::string>> blobs;
  // Lines on standard input go to the connected desktop (see --help).
  bool stdin_commands = false;
  // The phone app's control panel (--panel on|off): its pictures and
  // "config" after the greeting, answers to the desktop's events, the
  // selected filter's tint on the picture. -1: on unless fixed commands
  // (--command, --command-file) are given, which then alone reach the desktop.
  int panel = -1;

  // Output
  std::string log_path;

  // Dump mode
  std::string dump_path;
  int dump_frames = 0;

  bool help = false;
};

// Parses argv. Returns false with `error` set on a bad option.
bool ParseOptions(int argc, char** argv, SimulatorOptions* options, std::string* error);
// Whether the simulated phone shows its panel.
bool PanelEnabled(const SimulatorOptions& options);
// The --help text.
std::string UsageText();

}  // namespace phone_sim
