// Test pictures for the video tests: packed RGB24 AVFrames with known
// content, and reading pixels back out of output frames.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/imgutils.h>
}

#include "video/video_frame.h"

struct Rgb {
  uint8_t r, g, b;
};

struct AvFrameFree {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
using AvFramePtr = std::unique_ptr<AVFrame, AvFrameFree>;

// A packed (alignment 1) RGB24 picture filled by `pixel(y, x)`.
inline AvFramePtr MakeRgbPicture(int width, int height, const std::function<Rgb(int y, int x)>& pixel) {
  AvFramePtr f(av_frame_alloc());
  f->width = width;
  f->height = height;
  f->format = AV_PIX_FMT_RGB24;
  if (av_frame_get_buffer(f.get(), 1) < 0) return nullptr;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixel(y, x);
      uint8_t* p = f->data[0] + static_cast<ptrdiff_t>(y) * f->linesize[0] + x * 3;
      p[0] = c.r;
      p[1] = c.g;
      p[2] = c.b;
    }
  return f;
}

// Every pixel distinct up to 4095 x 4095: red and green are the low bytes of
// x and y, blue holds their high nibbles.
inline Rgb CoordinateColour(int y, int x) {
  return Rgb{static_cast<uint8_t>(x & 0xFF), static_cast<uint8_t>(y & 0xFF),
             static_cast<uint8_t>(((x >> 8) & 0x0F) | (((y >> 8) & 0x0F) << 4))};
}
inline void DecodeCoordinate(Rgb c, int* y, int* x) {
  *x = c.r | ((c.b & 0x0F) << 8);
  *y = c.g | ((c.b >> 4) << 8);
}

// The colour of output pixel (row, column), rows counted from the top of the
// picture, read from the bottom-up BGR frame.
inline Rgb PixelAt(const VideoFrame& frame, int row, int col) {
  const uint8_t* p =
      frame.bits() + static_cast<ptrdiff_t>(frame.height() - 1 - row) * frame.stride() + col * 3;
  return Rgb{p[2], p[1], p[0]};
}

inline bool Near(Rgb a, Rgb b, int tolerance) {
  auto d = [](int u, int v) { return u > v ? u - v : v - u; };
  return d(a.r, b.r) <= tolerance && d(a.g, b.g) <= tolerance && d(a.b, b.b) <= tolerance;
}
