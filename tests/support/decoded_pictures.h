// What the H.264 decoder hands to its frame sink, recorded: each decoded
// picture converted to packed RGB24 at its own size during OnFrame, with the phone simulator's test picture
// read back out of them (stamp and corner colours). Header-only; the
// including suite links video_core.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

extern "C" {
#include <libavutil/frame.h>
}

#include "tools/phone_simulator/test_pattern.h"
#include "video/core/frame_buffer.h"
#include "video/core/rgb_converter.h"

// One delivered picture, rows packed, top row first.
struct DeliveredPicture {
  int width = 0, height = 0, format = -1, linesize = 0;
  std::vector<uint8_t> rgb;

  test_pattern::Rgb At(int y, int x) const {
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
  }
  // The stamp of the test picture at its source size; false when unreadable.
  bool ReadStamp(test_pattern::Stamp* stamp) const {
    auto luma = [this](int x, int y) { return test_pattern::Luma(At(y, x)); };
    return test_pattern::ReadStamp(luma, width, height, stamp, test_pattern::StampCellSize(width, height));
  }
  // The stamped frame number, or -1.
  long FrameNumber() const {
    test_pattern::Stamp stamp;
    return ReadStamp(&stamp) ? static_cast<long>(stamp.frame_number) : -1;
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

// The corners of the test picture shown upright and unmirrored.
inline const std::vector<int> kUprightCorners = {test_pattern::kTopLeft, test_pattern::kTopRight,
                                                 test_pattern::kBottomLeft, test_pattern::kBottomRight};

class RecordingSink : public IFrameBuffer {
 public:
  void OnFrame(const AVFrame* decoded) override {
    const AVFrame* f = converter.Convert(decoded);
    if (!f) return;
    DeliveredPicture p;
    p.width = f->width;
    p.height = f->height;
    p.format = decoded->format;
    p.linesize = f->linesize[0];
    for (int y = 0; y < f->height; ++y) {
      const uint8_t* row = f->data[0] + static_cast<ptrdiff_t>(y) * f->linesize[0];
      p.rgb.insert(p.rgb.end(), row, row + f->width * 3);
    }
    pictures.push_back(std::move(p));
    if (onFrame) onFrame();
  }
  int IsFull() override { return 0; }

  RgbConverter converter;
  std::vector<DeliveredPicture> pictures;
  std::function<void()> onFrame;
};
