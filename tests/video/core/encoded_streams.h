// H.264 test streams made in-process with the phone simulator's picture
// renderer and encoder (the same stamped test picture the simulator sends).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/decoded_pictures.h"
#include "tools/phone_simulator/h264_encoder.h"
#include "tools/phone_simulator/picture_renderer.h"

// One sequence of pictures stamped 0, 1, 2..., opening with its parameter
// sets and a key frame.
struct Segment {
  int width, height, frames;
};

// Each Encode call appends one whole access unit: `unitEnds`, when given,
// receives the stream size after each.
inline std::vector<uint8_t> EncodeSegments(const std::vector<Segment>& segments,
                                           std::vector<size_t>* unitEnds = nullptr) {
  std::vector<uint8_t> stream;
  for (const Segment& s : segments) {
    phone_sim::EncoderSettings settings;
    settings.width = s.width;
    settings.height = s.height;
    phone_sim::H264Encoder encoder;
    std::string error;
    if (!encoder.Open(settings, &error)) return {};
    phone_sim::PictureRenderer renderer(s.width, s.height);
    phone_sim::YuvPicture picture;
    for (int i = 0; i < s.frames; ++i) {
      renderer.Render(test_pattern::Stamp{static_cast<uint32_t>(i), 0}, &picture);
      if (!encoder.Encode(picture, &stream)) return {};
      if (unitEnds) unitEnds->push_back(stream.size());
    }
  }
  return stream;
}

// The stream with the slices of its key frames (NAL type 5) cut out: the
// parameter sets stay, the predicted frames have nothing to predict from.
inline std::vector<uint8_t> WithoutKeyFrames(const std::vector<uint8_t>& s) {
  std::vector<size_t> starts;  // of each NAL unit's 00 00 01
  for (size_t i = 0; i + 3 < s.size(); ++i)
    if (s[i] == 0 && s[i + 1] == 0 && s[i + 2] == 1) starts.push_back(i), i += 2;
  std::vector<uint8_t> out;
  for (size_t k = 0; k < starts.size(); ++k) {
    const size_t end = k + 1 < starts.size() ? starts[k + 1] : s.size();
    if ((s[starts[k] + 3] & 0x1F) != 5) out.insert(out.end(), s.begin() + starts[k], s.begin() + end);
  }
  return out;
}
