// H.264 test streams (raw Annex-B, made with the phone simulator's --dump, see
// data/README.md) and a frame sink that records what a decoder delivers.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/frame.h>
}

#include "tools/phone_simulator/test_pattern.h"
#include "video/frame_buffer.h"

inline std::vector<uint8_t> ReadTestStream(const std::string& name) {
  const std::string path = std::string(VIDEO_TEST_DATA_DIR) + "/" + name;
  std::vector<uint8_t> bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
  }
  return bytes;
}

// Offsets of the NAL units (at their start codes) and their types.
struct NalUnit {
  size_t offset;
  int type;
};
inline std::vector<NalUnit> FindNalUnits(const std::vector<uint8_t>& s) {
  std::vector<NalUnit> units;
  for (size_t i = 0; i + 3 < s.size(); ++i) {
    if (s[i] == 0 && s[i + 1] == 0 && s[i + 2] == 1) {
      const size_t start = (i > 0 && s[i - 1] == 0) ? i - 1 : i;
      units.push_back({start, s[i + 3] & 0x1F});
      i += 2;
    }
  }
  return units;
}

// One delivered picture, copied during OnFrame.
struct DeliveredPicture {
  int width = 0, height = 0, format = -1;
  std::vector<uint8_t> rgb;  // packed rows

  test_pattern::Rgb At(int y, int x) const {
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
  }
  // The frame number stamped into the simulator's test picture, or -1.
  long FrameNumber() const {
    test_pattern::Stamp stamp;
    auto luma = [this](int x, int y) { return test_pattern::Luma(At(y, x)); };
    return test_pattern::ReadStamp(luma, width, height, &stamp, test_pattern::StampCellSize(width, height))
               ? static_cast<long>(stamp.frame_number)
               : -1;
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
    for (int y = 0; y < f->height; ++y) {
      const uint8_t* row = f->data[0] + static_cast<ptrdiff_t>(y) * f->linesize[0];
      p.rgb.insert(p.rgb.end(), row, row + f->width * 3);
    }
    linesizes.push_back(f->linesize[0]);
    pictures.push_back(std::move(p));
    if (onFrame) onFrame();
  }
  int IsFull() override { return 0; }

  std::vector<DeliveredPicture> pictures;
  std::vector<int> linesizes;
  std::function<void()> onFrame;
};
