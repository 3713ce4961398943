#include "stream_dump.h"

#include <chrono>
#include <cstdio>
#include <memory>

#include "h264_encoder.h"
#include "picture_renderer.h"

namespace phone_sim {

int DumpStream(const SimulatorOptions& options, EventLog& log) {
  EncoderSettings settings;
  settings.width = options.width;
  settings.height = options.height;
  settings.fps = options.fps;
  settings.bitrate_kbps = options.bitrate_kbps;
  settings.preset = options.preset;
  H264Encoder encoder;
  std::string error;
  if (!encoder.Open(settings, &error)) {
    log.Line("exiting reason=" + error);
    return 2;
  }
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(options.dump_path.c_str(), "wb"), &std::fclose);
  if (!file) {
    log.Line("exiting reason=cannot write " + options.dump_path);
    return 2;
  }
  PictureRenderer renderer(options.width, options.height, options.noise);
  YuvPicture picture;
  std::vector<uint8_t> access_unit;
  size_t total = 0;
  for (int frame = 0; frame < options.dump_frames; ++frame) {
    test_pattern::Stamp stamp;
    stamp.frame_number = static_cast<uint32_t>(frame);
    stamp.send_time_ms = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                   std::chrono::system_clock::now().time_since_epoch())
                                                   .count());
    renderer.Render(stamp, &picture);
    access_unit.clear();
    if (!encoder.Encode(picture, &access_unit)) {
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
