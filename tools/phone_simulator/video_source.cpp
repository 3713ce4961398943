#include "tools/phone_simulator/video_source.h"

namespace phone_sim {

VideoSource::VideoSource(const SimulatorOptions& options)
    : options_(options), width_(options.width), height_(options.height) {}

bool VideoSource::Open(std::string* error) {
  EncoderSettings settings;
  settings.width = width_;
  settings.height = height_;
  settings.fps = options_.fps;
  settings.bitrate_kbps = options_.bitrate_kbps;
  settings.preset = options_.preset;
  auto encoder = std::make_unique<H264Encoder>();
  if (!encoder->Open(settings, error)) return false;
  encoder_ = std::move(encoder);
  renderer_ = std::make_unique<PictureRenderer>(width_, height_, options_.noise);
  return true;
}

bool VideoSource::Turn(std::string* error) {
  std::swap(width_, height_);
  return Open(error);
}

bool VideoSource::Encode(uint32_t frame_number, uint32_t send_time_ms, std::vector<uint8_t>* out,
                         const PictureTint& tint) {
  if (!encoder_) return false;
  test_pattern::Stamp stamp;
  stamp.frame_number = frame_number;
  stamp.send_time_ms = send_time_ms;
  renderer_->Render(stamp, &picture_);
  ApplyTint(tint, &picture_);
  return encoder_->Encode(picture_, out);
}

}  // namespace phone_sim
