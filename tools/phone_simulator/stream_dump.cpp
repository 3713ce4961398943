#include "tools/phone_simulator/stream_dump.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>

#include "tools/phone_simulator/video_source.h"

namespace phone_sim {

int DumpStream(const SimulatorOptions& options, EventLog& log) {
  VideoSource source(options);
  std::string error;
  if (!source.Open(&error)) {
    log.Line("exiting reason=" + error);
    return 2;
  }
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(options.dump_path.c_str(), "wb"), &std::fclose);
  if (!file) {
    log.Line("exiting reason=cannot write " + options.dump_path);
    return 2;
  }
  // --rotate-every counts in stream time here: seconds x fps frames.
  const int turn_frames = options.rotate_every_s > 0
                              ? std::max(1, static_cast<int>(options.rotate_every_s * options.fps + 0.5))
                              : 0;
  std::vector<uint8_t> access_unit;
  size_t total = 0;
  for (int frame = 0; frame < options.dump_frames; ++frame) {
    if (turn_frames > 0 && frame > 0 && frame % turn_frames == 0) {
      if (!source.Turn(&error)) {
        log.Line("exiting reason=" + error);
        return 2;
      }
      log.Line("turned " + source.SizeText() + " at frame " + std::to_string(frame));
    }
    const uint32_t now_ms = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                      std::chrono::system_clock::now().time_since_epoch())
                                                      .count());
    access_unit.clear();
    if (!source.Encode(static_cast<uint32_t>(frame), now_ms, &access_unit)) {
      log.Line("exiting reason=x264 failed at frame " + std::to_string(frame));
      return 2;
    }
    if (std::fwrite(access_unit.data(), 1, access_unit.size(), file.get()) != access_unit.size()) {
      log.Line("exiting reason=write failed: " + options.dump_path);
      return 2;
    }
    total += access_unit.size();
  }
  if (std::fflush(file.get()) != 0) {
    log.Line("exiting reason=write failed: " + options.dump_path);
    return 2;
  }
  log.Line("dumped frames=" + std::to_string(options.dump_frames) + " bytes=" + std::to_string(total) +
           " size=" + std::to_string(options.width) + "x" + std::to_string(options.height));
  return 0;
}

}  // namespace phone_sim
