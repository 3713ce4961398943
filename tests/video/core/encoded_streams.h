// H.264 test streams made in-process with the phone simulator's picture
// renderer and encoder (the same stamped test picture the simulator sends),
// and a frame sink that records what a decoder delivers.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/frame.h>
}

#include "tools/phone_simulator/h264_encoder.h"
#include "tools/phone_simulator/picture_renderer.h"
#include "video/core/frame_buffer.h"

// One sequence of pictures stamped 0, 1, 2..., opening with its parameter
// sets and a key frame.
struct Segment {
  int width, height, frames;
};

inline std::vector<uint8_t> EncodeSegments(const std::vector<Segment>& segments) {
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

// One delivered picture, copied during OnFrame.
struct DeliveredPicture {
  int width = 0, height = 0, format = -1, linesize = 0;
  std::vector<uint8_t> rgb;  // packed rows

  test_pattern::Rgb At(int y, int x) const {
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
  }
  // The frame number stamped into the test picture, or -1.
  long FrameNumber() const {
    test_pattern::Stamp stamp;
    auto luma = [this](int x, int y) { return test_pattern::Luma(At(y, x)); };
    return test_pattern::ReadStamp(luma, width, height, &stamp, test_pattern::StampCellSize(width, height))
               ? static_cast<long>(stamp.frame_number)
               : -1;
  }
  // The corner patch seen at each corner, sampled well inside it: top left,
  // top right, bottom left, bottom right.
  std::vector<int> Corners() const {
    const int dx = width / 8, dy = height / 8;
    return {test_pattern::ClassifyCornerColour(At(dy, dx)),
            test_pattern::ClassifyCornerColour(At(dy, width - 1 - dx)),
            test_pattern::ClassifyCornerColour(At(height - 1 - dy, dx)),
            test_pattern::ClassifyCornerColour(At(height - 1 - dy, width - 1 - dx))};
  }
  bool operator==(const DeliveredPicture& o) const {
    return width == o.width && height == o.height && format == o.format && rgb == o.rgb;
  }
};

class RecordingSink : public IFrameBuffer {
 public:
  void OnFrame(const AVFrame* f) override {
    DeliveredPicture p;
    p.width = f->width;
    p.height = f->height;
    p.format = f->format;
    p.linesize = f->linesize[0];
    for (int y = 0; y < f->height; ++y) {
      const uint8_t* row = f->data[0] + static_cast<ptrdiff_t>(y) * f->linesize[0];
      p.rgb.insert(p.rgb.end(), row, row + f->width * 3);
    }
    pictures.push_back(std::move(p));
    if (onFrame) onFrame();
  }
  int IsFull() override { return 0; }

  std::vector<DeliveredPicture> pictures;
  std::function<void()> onFrame;
};
