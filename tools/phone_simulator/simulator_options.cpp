#include "tools/phone_simulator/simulator_options.h"

#include <getopt.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "tools/phone_simulator/test_pattern.h"

namespace phone_sim {
namespace {

enum OptionId {
  kPort = 1000,
  kExitAfterIdle,
  kReverseV,
  kReverseH,
  kConfigXml,
  kWrongMagic,
  kSize,
  kFps,
  kBitrate,
  kPreset,
  kNoise,
  kChunk,
  kFramesPerMessage,
  kCarryTail,
  kSeed,
  kNoVideo,
  kRotateEvery,
  kSilentAfter,
  kCloseMidFrameAfter,
  kOversizeAfter,
  kOversizeLength,
  kCommand,
  kCommandFile,
  kCommandInterval,
  kBlob,
  kStdinCommands,
  kLog,
  kDump,
  kFrames,
  kHelp,
};

bool ParseLong(const char* text, long long lo, long long hi, long long* out) {
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || v < lo || v > hi) return false;
  *out = v;
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

}  // namespace

std::string UsageText() {
  using namespace test_pattern;
  std::string corners = std::string("top-left ") + CornerColourName(kTopLeft) + ", top-right " +
                        CornerColourName(kTopRight) + ", bottom-left " + CornerColourName(kBottomLeft) +
                        ", bottom-right " + CornerColourName(kBottomRight);
  return "Usage: phone_simulator [options]\n"
         "Plays the phone app's side of the link on 127.0.0.1: answers the desktop's greeting,\n"
         "streams a live H.264 test picture in Video messages and prints what the desktop sends.\n"
         "One desktop is served at a time; the next is accepted after it disconnects.\n"
         "\n"
         "Listener:\n"
         "  --port N                  TCP port on 127.0.0.1 (default 8984; 0: any free port, printed)\n"
         "  --exit-after-idle S       exit after S seconds without a connected desktop (default: never)\n"
         "Handshake:\n"
         "  --reverse-v N             value of reverse_v in the configuration block (default 0)\n"
         "  --reverse-h N             value of reverse_h in the configuration block (default 0)\n"
         "  --config-xml TEXT         send TEXT as the configuration block instead (\"\" sends length 0)\n"
         "Video:\n"
         "  --size WxH                picture size: 1280x720 (default), 720x1280, 1920x1080, 1280x960\n"
         "                            (any even size from 64x64 to 4096x4096 is accepted)\n"
         "  --fps N                   frames per second, 30 (default) or 60 (1-120 accepted)\n"
         "  --bitrate KBPS            encoder bit rate (default about 0.1 bit per pixel)\n"
         "  --preset NAME             x264 preset (default veryfast); tuning is always zerolatency\n"
         "  --noise N                 camera-like luma noise of +-N (0-64, default 0) in the background:\n"
         "                            a harder stream, closer to a real camera's\n"
         "  --chunk MIN:MAX           Video payload sizes in bytes, random in [MIN, MAX] (default "
         "512:16384)\n"
         "  --frames-per-message N    instead: each Video message holds exactly N whole frames\n"
         "  --carry-tail              hold each frame's last piece back so messages span frames\n"
         "  --seed N                  seed of the random message sizes (default 1)\n"
         "  --no-video                send no video (handshake and commands only)\n"
         "  --rotate-every S          swap width and height every S seconds, as a phone turned in the\n"
         "                            hand: a new sequence (SPS/PPS, key frame) at the new size\n"
         "Faults (S seconds after the handshake):\n"
         "  --silent-after S          stop sending anything but keep the link open\n"
         "  --close-mid-frame-after S send a frame header and half its payload, then close\n"
         "  --wrong-magic             answer the greeting with \"LNK99\" instead of \"LNK10\"\n"
         "  --oversize-after S        send a Video header announcing --oversize-length bytes\n"
         "                            (default 2147483647), 64 bytes of it, then nothing more\n"
         "  --oversize-length N       the announced length (any 32-bit value)\n"
         "Commands from the phone (Command messages, UTF-8 XML):\n"
         "  --command XML             send XML after the handshake (repeatable, in order)\n"
         "  --command-file FILE       send each non-empty line of FILE as a command\n"
         "  --command-interval MS     send the commands again every MS milliseconds\n"
         "  --blob NAME=FILE          send FILE as a Blob named NAME after the greeting (repeatable)\n"
         "  --stdin-commands          send each line of standard input to the connected desktop: a\n"
         "                            Command, or with \"@blob NAME FILE\" a Blob (lines are dropped\n"
         "                            while no desktop is connected)\n"
         "Output:\n"
         "  --log FILE                also append every printed line to FILE\n"
         "  --dump FILE --frames N    write N frames of the raw Annex-B H.264 stream to FILE and exit\n"
         "  --help                    this text\n"
         "\n"
         "The test picture: four corner patches, each a quarter of the width and of the height:\n"
         "  " +
         corners +
         " (RGB 255,0,0 / 0,255,0 / 0,0,255 / 255,255,255),\n"
         "a grey background with moving stripes and a moving magenta bar, and a centred stamp of\n"
         "12x8 black/white cells (edge = shorter side / 20, rounded down to even) holding the frame\n"
         "number, the capture time in ms since 1970 modulo 2^32, and a CRC-32; bit i is cell\n"
         "(i % 12, i / 12), least significant bit first, white = 1. tools/phone_simulator/test_pattern.h\n"
         "reads it back from a received picture in any orientation.\n"
         "\n"
         "Printed lines (stdout, one event each, flushed at once):\n"
         "  listening port=N | connected peer=ADDR | greeting magic=ok|bad | handshake config_length=N\n"
         "  desktop_config length=N [text] | streaming WxH@FPS | heartbeat | command TEXT\n"
         "  message type=N length=N | fault NAME | disconnected reason=TEXT | exiting reason=TEXT\n"
         "  turned WxH | sent command TEXT | sent blob name=NAME length=N | error TEXT\n"
         "Command text is printed as received, with CR, LF and backslash escaped as \\r, \\n, \\\\.\n"
         "\n"
         "A desktop that sends nothing for 30 s (it should send a heartbeat every 2 s) is dropped.\n"
         "SIGINT or SIGTERM ends the simulator cleanly. Exit codes: 0 done, 1 bad options,\n"
         "2 the port or the encoder or a file could not be used.\n";
}

bool ParseOptions(int argc, char** argv, SimulatorOptions* o, std::string* error) {
  static const option kOptions[] = {
      {"port", required_argument, nullptr, kPort},
      {"exit-after-idle", required_argument, nullptr, kExitAfterIdle},
      {"reverse-v", required_argument, nullptr, kReverseV},
      {"reverse-h", required_argument, nullptr, kReverseH},
      {"config-xml", required_argument, nullptr, kConfigXml},
      {"wrong-magic", no_argument, nullptr, kWrongMagic},
      {"size", required_argument, nullptr, kSize},
      {"fps", required_argument, nullptr, kFps},
      {"bitrate", required_argument, nullptr, kBitrate},
      {"preset", required_argument, nullptr, kPreset},
      {"noise", required_argument, nullptr, kNoise},
      {"chunk", required_argument, nullptr, kChunk},
      {"frames-per-message", required_argument, nullptr, kFramesPerMessage},
      {"carry-tail", no_argument, nullptr, kCarryTail},
      {"seed", required_argument, nullptr, kSeed},
      {"no-video", no_argument, nullptr, kNoVideo},
      {"rotate-every", required_argument, nullptr, kRotateEvery},
      {"silent-after", required_argument, nullptr, kSilentAfter},
      {"close-mid-frame-after", required_argument, nullptr, kCloseMidFrameAfter},
      {"oversize-after", required_argument, nullptr, kOversizeAfter},
      {"oversize-length", required_argument, nullptr, kOversizeLength},
      {"command", required_argument, nullptr, kCommand},
      {"command-file", required_argument, nullptr, kCommandFile},
      {"command-interval", required_argument, nullptr, kCommandInterval},
      {"blob", required_argument, nullptr, kBlob},
      {"stdin-commands", no_argument, nullptr, kStdinCommands},
      {"log", required_argument, nullptr, kLog},
      {"dump", required_argument, nullptr, kDump},
      {"frames", required_argument, nullptr, kFrames},
      {"help", no_argument, nullptr, kHelp},
      {nullptr, 0, nullptr, 0},
  };
  optind = 1;
  opterr = 0;
  long long v = 0;
  for (;;) {
    int index = 0;
    int id = getopt_long(argc, argv, "h", kOptions, &index);
    if (id == -1) break;
    const char* arg = optarg;
    auto bad = [&](const char* what) {
      *error = std::string("invalid value '") + (arg ? arg : "") + "' for " + what;
      return false;
    };
    switch (id) {
      case kPort:
        if (!ParseLong(arg, 0, 65535, &v)) return bad("--port");
        o->port = static_cast<int>(v);
        break;
      case kExitAfterIdle:
        if (!ParseSeconds(arg, &o->exit_after_idle_s)) return bad("--exit-after-idle");
        break;
      case kReverseV:
        if (!ParseLong(arg, INT32_MIN, INT32_MAX, &v)) return bad("--reverse-v");
        o->reverse_v = static_cast<int>(v);
        break;
      case kReverseH:
        if (!ParseLong(arg, INT32_MIN, INT32_MAX, &v)) return bad("--reverse-h");
        o->reverse_h = static_cast<int>(v);
        break;
      case kConfigXml:
        o->custom_config = true;
        o->config_xml = arg;
        break;
      case kWrongMagic:
        o->wrong_magic = true;
        break;
      case kSize: {
        int w = 0, h = 0;
        char tail = 0;
        if (std::sscanf(arg, "%dx%d%c", &w, &h, &tail) != 2 || w < 64 || h < 64 || w > 4096 || h > 4096 ||
            (w % 2) != 0 || (h % 2) != 0)
          return bad("--size");
        o->width = w;
        o->height = h;
        break;
      }
      case kFps:
        if (!ParseLong(arg, 1, 120, &v)) return bad("--fps");
        o->fps = static_cast<int>(v);
        break;
      case kBitrate:
        if (!ParseLong(arg, 50, 200000, &v)) return bad("--bitrate");
        o->bitrate_kbps = static_cast<int>(v);
        break;
      case kPreset:
        o->preset = arg;
        break;
      case kNoise:
        if (!ParseLong(arg, 0, 64, &v)) return bad("--noise");
        o->noise = static_cast<int>(v);
        break;
      case kChunk: {
        int lo = 0, hi = 0;
        char tail = 0;
        if (std::sscanf(arg, "%d:%d%c", &lo, &hi, &tail) != 2 || lo < 1 || hi < lo || hi > (1 << 24))
          return bad("--chunk");
        o->chunk_min = lo;
        o->chunk_max = hi;
        break;
      }
      case kFramesPerMessage:
        if (!ParseLong(arg, 1, 1000, &v)) return bad("--frames-per-message");
        o->frames_per_message = static_cast<int>(v);
        break;
      case kCarryTail:
        o->carry_tail = true;
        break;
      case kSeed:
        if (!ParseLong(arg, 0, UINT32_MAX, &v)) return bad("--seed");
        o->seed = static_cast<uint32_t>(v);
        break;
      case kNoVideo:
        o->no_video = true;
        break;
      case kRotateEvery:
        if (!ParseSeconds(arg, &o->rotate_every_s) || o->rotate_every_s <= 0) return bad("--rotate-every");
        break;
      case kSilentAfter:
        if (!ParseSeconds(arg, &o->silent_after_s)) return bad("--silent-after");
        break;
      case kCloseMidFrameAfter:
        if (!ParseSeconds(arg, &o->close_mid_frame_after_s)) return bad("--close-mid-frame-after");
        break;
      case kOversizeAfter:
        if (!ParseSeconds(arg, &o->oversize_after_s)) return bad("--oversize-after");
        break;
      case kOversizeLength:
        if (!ParseLong(arg, INT32_MIN, UINT32_MAX, &v)) return bad("--oversize-length");
        o->oversize_length = v;
        break;
      case kCommand:
        o->commands.push_back(arg);
        break;
      case kCommandFile: {
        std::ifstream in(arg);
        if (!in) return bad("--command-file (cannot read the file)");
        std::string line;
        while (std::getline(in, line)) {
          if (!line.empty() && line.back() == '\r') line.pop_back();
          if (!line.empty()) o->commands.push_back(line);
        }
        break;
      }
      case kCommandInterval:
        if (!ParseLong(arg, 1, 3600000, &v)) return bad("--command-interval");
        o->command_interval_ms = static_cast<int>(v);
        break;
      case kBlob: {
        std::string text = arg;
        size_t eq = text.find('=');
        if (eq == 0 || eq == std::string::npos || eq > 255 || eq + 1 == text.size()) return bad("--blob");
        o->blobs.emplace_back(text.substr(0, eq), text.substr(eq + 1));
        break;
      }
      case kStdinCommands:
        o->stdin_commands = true;
        break;
      case kLog:
        o->log_path = arg;
        break;
      case kDump:
        o->dump_path = arg;
        break;
      case kFrames:
        if (!ParseLong(arg, 1, 1000000, &v)) return bad("--frames");
        o->dump_frames = static_cast<int>(v);
        break;
      case kHelp:
      case 'h':
        o->help = true;
        break;
      default:
        *error = std::string("unknown or incomplete option '") + argv[optind - 1] + "'";
        return false;
    }
  }
  if (optind < argc) {
    *error = std::string("unexpected argument '") + argv[optind] + "'";
    return false;
  }
  if (!o->dump_path.empty() && o->dump_frames <= 0) {
    *error = "--dump needs --frames N";
    return false;
  }
  if (o->dump_path.empty() && o->dump_frames > 0) {
    *error = "--frames is only used with --dump FILE";
    return false;
  }
  return true;
}

}  // namespace phone_sim
