// Live H.264 encoding with libx264, tuned for zero latency: every input
// picture comes out as one access unit at once (no look-ahead, no B-frames),
// as a phone's live encoder does.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/phone_simulator/picture_renderer.h"

struct x264_t;

namespace phone_sim {

struct EncoderSettings {
  int width = 1280;
  int height = 720;
  int fps = 30;
  int bitrate_kbps = 0;       // 0: about 0.1 bit per pixel
  int keyframe_interval = 0;  // frames; 0: two seconds
  std::string preset = "veryfast";
  int threads = 0;  // 0: libx264 decides
};

class H264Encoder {
 public:
  H264Encoder();
  ~H264Encoder();
  H264Encoder(const H264Encoder&) = delete;
  H264Encoder& operator=(const H264Encoder&) = delete;

  // Opens the encoder; false with `error` set when libx264 refuses the settings.
  bool Open(const EncoderSettings& settings, std::string* error);
  // Encodes one picture and appends its access unit (Annex-B: start codes,
  // an access unit delimiter first; SPS and PPS before every key frame) to
  // `out`. Returns false on an encoder failure.
  bool Encode(const YuvPicture& picture, std::vector<uint8_t>* out);

 private:
  x264_t* encoder_ = nullptr;
  int64_t next_pts_ = 0;
};

}  // namespace phone_sim
