// The phone's camera and encoder: renders the stamped test picture and
// encodes it. Like a phone turned in the hand, it can swap its width and
// height mid-stream; the next access unit then starts a new sequence (new
// SPS/PPS and a key frame) at the new size.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/phone_simulator/h264_encoder.h"
#include "tools/phone_simulator/picture_renderer.h"
#include "tools/phone_simulator/simulator_options.h"

namespace phone_sim {

class VideoSource {
 public:
  explicit VideoSource(const SimulatorOptions& options);

  // Opens the encoder at the configured size; false with `error` set.
  bool Open(std::string* error);
  // Swaps width and height and reopens the encoder.
  bool Turn(std::string* error);
  // Renders frame `frame_number` stamped with `send_time_ms` and appends its
  // access unit to `out`.
  // The picture goes through `tint`, the phone's live filter, first.
  bool Encode(uint32_t frame_number, uint32_t send_time_ms, std::vector<uint8_t>* out,
              const PictureTint& tint = PictureTint());

  int width() const { return width_; }
  int height() const { return height_; }
  std::string SizeText() const { return std::to_string(width_) + "x" + std::to_string(height_); }

 private:
  const SimulatorOptions& options_;
  int width_;
  int height_;
  std::unique_ptr<PictureRenderer> renderer_;
  std::unique_ptr<H264Encoder> encoder_;
  YuvPicture picture_;
};

}  // namespace phone_sim
