// The --help text of the phone simulator.
#include <string>

#include "tools/phone_simulator/simulator_options.h"
#include "tools/phone_simulator/test_pattern.h"

namespace phone_sim {

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

}  // namespace phone_sim
