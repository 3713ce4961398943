#include "tools/phone_simulator/simulator_options.h"

#include <getopt.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace phone_sim {
namespace {

bool ParseLong(const char* text, long long lo, long long hi, long long* out) {
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || v < lo || v > hi) return false;
  *out = v;
  return true;
}

template <class Int>
bool ParseInt(const char* text, long long lo, long long hi, Int* out) {
  long long v = 0;
  if (!ParseLong(text, lo, hi, &v)) return false;
  *out = static_cast<Int>(v);
  return true;
}

bool ParseSeconds(const char* text, double* out) {
  errno = 0;
  char* end = nullptr;
  double v = std::strtod(text, &end);
  if (errno != 0 || end == text || *end != '\0' || !(v >= 0) || v > 1e6) return false;
  *out = v;
  return true;
}

bool ParseSize(const char* text, SimulatorOptions* o) {
  int w = 0, h = 0;
  char tail = 0;
  if (std::sscanf(text, "%dx%d%c", &w, &h, &tail) != 2 || w < 64 || h < 64 || w > 4096 || h > 4096 ||
      (w % 2) != 0 || (h % 2) != 0)
    return false;
  o->width = w;
  o->height = h;
  return true;
}

bool ParseChunk(const char* text, SimulatorOptions* o) {
  int lo = 0, hi = 0;
  char tail = 0;
  if (std::sscanf(text, "%d:%d%c", &lo, &hi, &tail) != 2 || lo < 1 || hi < lo || hi > (1 << 24)) return false;
  o->chunk_min = lo;
  o->chunk_max = hi;
  return true;
}

bool ReadCommandFile(const char* path, SimulatorOptions* o) {
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) o->commands.push_back(line);
  }
  return true;
}

bool ParseBlob(const char* text, SimulatorOptions* o) {
  const std::string blob = text;
  const size_t eq = blob.find('=');
  if (eq == 0 || eq == std::string::npos || eq > 255 || eq + 1 == blob.size()) return false;
  o->blobs.emplace_back(blob.substr(0, eq), blob.substr(eq + 1));
  return true;
}

bool ParsePanel(const char* text, SimulatorOptions* o) {
  const std::string value = text;
  if (value != "on" && value != "off") return false;
  o->panel = value == "on" ? 1 : 0;
  return true;
}

// One option: its name, whether it takes a value, and what it does to the
// options (false: the value is invalid). `problem` names a failure other
// than a bad value.
struct OptionSpec {
  const char* name;
  bool takesValue;
  bool (*apply)(const char* value, SimulatorOptions* o);
  const char* problem = nullptr;
};

// Every option of the simulator; --help (UsageText) documents them.
const OptionSpec kOptionTable[] = {
    {"port", true, [](const char* a, SimulatorOptions* o) { return ParseInt(a, 0, 65535, &o->port); }},
    {"exit-after-idle", true,
     [](const char* a, SimulatorOptions* o) { return ParseSeconds(a, &o->exit_after_idle_s); }},
    {"reverse-v", true,
     [](const char* a, SimulatorOptions* o) { return ParseInt(a, INT32_MIN, INT32_MAX, &o->reverse_v); }},
    {"reverse-h", true,
     [](const char* a, SimulatorOptions* o) { return ParseInt(a, INT32_MIN, INT32_MAX, &o->reverse_h); }},
    {"config-xml", true,
     [](const char* a, SimulatorOptions* o) {
       o->custom_config = true;
       o->config_xml = a;
       return true;
     }},
    {"wrong-magic", false, [](const char*, SimulatorOptions* o) { return o->wrong_magic = true; }},
    {"size", true, ParseSize},
    {"fps", true, [](const char* a, SimulatorOptions* o) { return ParseInt(a, 1, 120, &o->fps); }},
    {"bitrate", true,
     [](const char* a, SimulatorOptions* o) { return ParseInt(a, 50, 200000, &o->bitrate_kbps); }},
    {"preset", true,
     [](const char* a, SimulatorOptions* o) {
       o->preset = a;
       return true;
     }},
    {"noise", true, [](const char* a, SimulatorOptions* o) { return ParseInt(a, 0, 64, &o->noise); }},
    {"chunk", true, ParseChunk},
    {"frames-per-message", true,
     [](const char* a, SimulatorOptions* o) { return ParseInt(a, 1, 1000, &o->frames_per_message); }},
    {"carry-tail", false, [](const char*, SimulatorOptions* o) { return o->carry_tail = true; }},
    {"seed", true, [](const char* a, SimulatorOptions* o) { return ParseInt(a, 0, UINT32_MAX, &o->seed); }},
    {"no-video", false, [](const char*, SimulatorOptions* o) { return o->no_video = true; }},
    {"rotate-every", true,
     [](const char* a, SimulatorOptions* o) {
       return ParseSeconds(a, &o->rotate_every_s) && o->rotate_every_s > 0;
     }},
    {"silent-after", true,
     [](const char* a, SimulatorOptions* o) { return ParseSeconds(a, &o->silent_after_s); }},
    {"close-mid-frame-after", true,
     [](const char* a, SimulatorOptions* o) { return ParseSeconds(a, &o->close_mid_frame_after_s); }},
    {"oversize-after", true,
     [](const char* a, SimulatorOptions* o) { return ParseSeconds(a, &o->oversize_after_s); }},
    {"oversize-length", true,
     [](const char* a, SimulatorOptions* o) {
       return ParseInt(a, INT32_MIN, UINT32_MAX, &o->oversize_length);
     }},
    {"command", true,
     [](const char* a, SimulatorOptions* o) {
       o->commands.push_back(a);
       return true;
     }},
    {"command-file", true, ReadCommandFile, "--command-file (cannot read the file)"},
    {"command-interval", true,
     [](const char* a, SimulatorOptions* o) { return ParseInt(a, 1, 3600000, &o->command_interval_ms); }},
    {"blob", true, ParseBlob},
    {"panel", true, ParsePanel},
    {"stdin-commands", false, [](const char*, SimulatorOptions* o) { return o->stdin_commands = true; }},
    {"log", true,
     [](const char* a, SimulatorOptions* o) {
       o->log_path = a;
       return true;
     }},
    {"dump", true,
     [](const char* a, SimulatorOptions* o) {
       o->dump_path = a;
       return true;
     }},
    {"frames", true,
     [](const char* a, SimulatorOptions* o) { return ParseInt(a, 1, 1000000, &o->dump_frames); }},
    {"help", false, [](const char*, SimulatorOptions* o) { return o->help = true; }},
};
constexpr int kOptionCount = sizeof(kOptionTable) / sizeof(kOptionTable[0]);

// Dump mode needs both --dump and --frames; neither means anything alone.
bool CheckDumpPair(const SimulatorOptions& o, std::string* error) {
  if (!o.dump_path.empty() && o.dump_frames <= 0) {
    *error = "--dump needs --frames N";
    return false;
  }
  if (o.dump_path.empty() && o.dump_frames > 0) {
    *error = "--frames is only used with --dump FILE";
    return false;
  }
  return true;
}

}  // namespace

bool PanelEnabled(const SimulatorOptions& o) {
  return o.panel < 0 ? o.commands.empty() : o.panel == 1;
}

bool ParseOptions(int argc, char** argv, SimulatorOptions* o, std::string* error) {
  // getopt_long's view of the table: an option returns kFirstId plus its index.
  constexpr int kFirstId = 1000;
  option longOptions[kOptionCount + 1] = {};
  for (int i = 0; i < kOptionCount; ++i)
    longOptions[i] = {kOptionTable[i].name, kOptionTable[i].takesValue ? required_argument : no_argument,
                      nullptr, kFirstId + i};
  optind = 1;
  opterr = 0;
  for (int id; (id = getopt_long(argc, argv, "h", longOptions, nullptr)) != -1;) {
    id = id == 'h' ? kOptionCount - 1 : id - kFirstId;  // -h is --help, the table's last entry
    if (id < 0 || id >= kOptionCount) {
      *error = std::string("unknown or incomplete option '") + argv[optind - 1] + "'";
      return false;
    }
    const OptionSpec& spec = kOptionTable[id];
    if (!spec.apply(optarg, o)) {
      *error = std::string("invalid value '") + (optarg ? optarg : "") + "' for " +
               (spec.problem ? spec.problem : std::string("--") + spec.name);
      return false;
    }
  }
  if (optind < argc) {
    *error = std::string("unexpected argument '") + argv[optind] + "'";
    return false;
  }
  return CheckDumpPair(*o, error);
}

}  // namespace phone_sim
