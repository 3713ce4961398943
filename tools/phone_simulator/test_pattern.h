// The phone simulator's test picture, as far as a receiver can check it after
// decoding. Header-only and free of any OS header, so native tests, Windows
// tests and benchmarks can all include it.
//
// Layout of a W x H source picture (W and H even):
//  - four corner patches, each W/4 wide and H/4 high, in four distinct colours
//    (top-left red, top-right green, bottom-left blue, bottom-right white), so
//    the orientation and mirroring of a received picture can be told apart;
//  - a mid-grey background with moving diagonal stripes and a moving magenta
//    bar in the band between the patch rows, so every frame differs;
//  - a centred stamp: a grid of 12 x 8 black or white square cells carrying
//    the frame number, the capture time and a CRC-32 (96 bits), big enough
//    to survive H.264 coding, scaling to 2/3 and any quarter turn or flip.
#pragma once
#include <cstdint>

namespace test_pattern {

struct Rgb {
  uint8_t r, g, b;
};

constexpr Rgb kTopLeftColour{255, 0, 0};          // red
constexpr Rgb kTopRightColour{0, 255, 0};         // green
constexpr Rgb kBottomLeftColour{0, 0, 255};       // blue
constexpr Rgb kBottomRightColour{255, 255, 255};  // white
constexpr Rgb kBackgroundColour{128, 128, 128};
constexpr Rgb kBarColour{255, 0, 255};  // the moving bar (magenta)

enum Corner : int {
  kNoCorner = -1,
  kTopLeft = 0,
  kTopRight = 1,
  kBottomLeft = 2,
  kBottomRight = 3,
};

inline Rgb CornerColour(int corner) {
  switch (corner) {
    case kTopLeft:
      return kTopLeftColour;
    case kTopRight:
      return kTopRightColour;
    case kBottomLeft:
      return kBottomLeftColour;
    default:
      return kBottomRightColour;
  }
}

inline const char* CornerColourName(int corner) {
  switch (corner) {
    case kTopLeft:
      return "red";
    case kTopRight:
      return "green";
    case kBottomLeft:
      return "blue";
    case kBottomRight:
      return "white";
    default:
      return "none";
  }
}

// Size of one corner patch of a W x H picture.
inline int CornerPatchWidth(int width) {
  return width / 4;
}
inline int CornerPatchHeight(int height) {
  return height / 4;
}

// Which corner colour `c` is, or kNoCorner when it is farther than
// `tolerance` (sum of absolute channel differences) from all four. The four
// colours are at least 255 apart, so coding noise of a few dozen is harmless.
inline int ClassifyCornerColour(Rgb c, int tolerance = 120) {
  int best = kNoCorner;
  int best_distance = tolerance + 1;
  for (int corner = kTopLeft; corner <= kBottomRight; ++corner) {
    Rgb ref = CornerColour(corner);
    int d = (c.r > ref.r ? c.r - ref.r : ref.r - c.r) + (c.g > ref.g ? c.g - ref.g : ref.g - c.g) +
            (c.b > ref.b ? c.b - ref.b : ref.b - c.b);
    if (d < best_distance) {
      best_distance = d;
      best = corner;
    }
  }
  return best;
}

// Brightness of an RGB pixel, for stamp reading (BT.601 weights).
inline int Luma(Rgb c) {
  return (77 * c.r + 150 * c.g + 29 * c.b + 128) >> 8;
}

// ---- The stamp ----

constexpr int kStampColumns = 12;
constexpr int kStampRows = 8;
constexpr int kStampBits = kStampColumns * kStampRows;  // 96

struct Stamp {
  uint32_t frame_number = 0;  // 0 for the first frame of each stream
  // Wall-clock capture time (milliseconds since 1970-01-01 UTC, modulo 2^32),
  // taken just before the frame is encoded. Latency on the receiving side is
  // (now_ms - send_time_ms) mod 2^32, with both clocks on one machine.
  uint32_t send_time_ms = 0;
};

// Edge of one stamp cell in the source picture: even, so that cells line up
// with the 2x2 chroma blocks of 4:2:0 video.
inline int StampCellSize(int width, int height) {
  int short_side = width < height ? width : height;
  return (short_side / 20) & ~1;
}

inline uint32_t Crc32(const uint8_t* data, int length) {
  uint32_t crc = 0xFFFFFFFFu;
  for (int i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

// The 96 stamp bits: frame number, send time and the CRC-32 of those eight
// bytes (little-endian), each least significant bit first. Bit i sits in
// cell (column i % 12, row i / 12) of the centred grid; 1 = white, 0 = black.
inline void StampBits(const Stamp& stamp, bool bits[kStampBits]) {
  uint8_t bytes[8];
  for (int i = 0; i < 4; ++i) {
    bytes[i] = static_cast<uint8_t>(stamp.frame_number >> (8 * i));
    bytes[4 + i] = static_cast<uint8_t>(stamp.send_time_ms >> (8 * i));
  }
  uint32_t words[3] = {stamp.frame_number, stamp.send_time_ms, Crc32(bytes, 8)};
  for (int i = 0; i < kStampBits; ++i) bits[i] = ((words[i / 32] >> (i % 32)) & 1u) != 0;
}

// Reads the stamp from a received picture of `width` x `height` pixels that
// shows the source picture turned by any multiple of 90 degrees, flipped or
// mirrored, and uniformly scaled and centre-cropped (as a fill-and-crop
// scaler does). `luma(x, y)` returns the brightness (0-255) of pixel (x, y),
// row 0 at the top. `cell_size` is the stamp cell edge in the received
// picture when known (0: search the plausible sizes). Returns true and fills
// `out` only when the CRC matches.
template <typename LumaAt>
bool ReadStamp(LumaAt luma, int width, int height, Stamp* out, int cell_size = 0) {
  // The eight quarter-turn/flip maps of a source offset (dx, dy) to (x, y).
  static const int kMaps[8][4] = {{1, 0, 0, 1}, {-1, 0, 0, 1}, {1, 0, 0, -1}, {-1, 0, 0, -1},
                                  {0, 1, 1, 0}, {0, -1, 1, 0}, {0, 1, -1, 0}, {0, -1, -1, 0}};
  int short_side = width < height ? width : height;
  int first = cell_size > 0 ? cell_size : short_side / 32;
  int last = cell_size > 0 ? cell_size : short_side / 10;
  if (first < 4) first = 4;
  auto sample = [&](double x, double y) -> int {
    int ix = static_cast<int>(x), iy = static_cast<int>(y);
    if (ix < 0 || iy < 0 || ix >= width || iy >= height) return -1;
    return luma(ix, iy);
  };
  for (int size = first; size <= last; ++size) {
    for (const auto& m : kMaps) {
      bool bits[kStampBits];
      bool clear = true;
      for (int i = 0; i < kStampBits && clear; ++i) {
        double dx = ((i % kStampColumns) + 0.5 - kStampColumns / 2.0) * size;
        double dy = ((i / kStampColumns) + 0.5 - kStampRows / 2.0) * size;
        double x = width / 2.0 + m[0] * dx + m[1] * dy;
        double y = height / 2.0 + m[2] * dx + m[3] * dy;
        // Centre plus four points a quarter cell away: robust to blur at edges.
        double q = size / 4.0;
        int sum = 0;
        const double offsets[5][2] = {{0, 0}, {-q, -q}, {q, -q}, {-q, q}, {q, q}};
        for (const auto& o : offsets) {
          int v = sample(x + o[0], y + o[1]);
          if (v < 0) {
            clear = false;
            break;
          }
          sum += v;
        }
        int average = sum / 5;
        // Cells are near black (16) or near white (235): reject muddy reads early.
        if (average > 88 && average < 168) clear = false;
        bits[i] = average >= 128;
      }
      if (!clear) continue;
      uint32_t words[3] = {0, 0, 0};
      for (int i = 0; i < kStampBits; ++i)
        if (bits[i]) words[i / 32] |= 1u << (i % 32);
      Stamp candidate;
      candidate.frame_number = words[0];
      candidate.send_time_ms = words[1];
      bool expected[kStampBits];
      StampBits(candidate, expected);
      bool match = true;
      for (int i = 64; i < kStampBits && match; ++i) match = expected[i] == bits[i];
      if (match) {
        *out = candidate;
        return true;
      }
    }
  }
  return false;
}

// ---- Received frames in the Windows DIB layout ----
// Bottom-up rows (the first row in memory is the bottom row), 3 bytes per
// pixel in the order blue, green, red, rows `stride` bytes apart.

// Pixel (x, y) with row 0 at the top of the picture.
inline Rgb BottomUpBgrPixel(const uint8_t* bits, int height, int stride, int x, int y) {
  const uint8_t* p = bits + static_cast<long long>(height - 1 - y) * stride + x * 3;
  return {p[2], p[1], p[0]};
}

// The corner colour seen around the middle of each quarter-size corner
// region: out[0..3] = top-left, top-right, bottom-left, bottom-right, as
// Corner values (kNoCorner when none matches). An upright, unmirrored
// picture gives {kTopLeft, kTopRight, kBottomLeft, kBottomRight}.
inline void ClassifyCornersBottomUpBgr(const uint8_t* bits, int width, int height, int stride, int out[4]) {
  const int xs[4] = {width / 8, width - 1 - width / 8, width / 8, width - 1 - width / 8};
  const int ys[4] = {height / 8, height / 8, height - 1 - height / 8, height - 1 - height / 8};
  for (int corner = 0; corner < 4; ++corner) {
    int sum[3] = {0, 0, 0}, count = 0;
    for (int dy = -2; dy <= 2; ++dy)
      for (int dx = -2; dx <= 2; ++dx) {
        int x = xs[corner] + dx, y = ys[corner] + dy;
        if (x < 0 || y < 0 || x >= width || y >= height) continue;
        Rgb c = BottomUpBgrPixel(bits, height, stride, x, y);
        sum[0] += c.r;
        sum[1] += c.g;
        sum[2] += c.b;
        ++count;
      }
    out[corner] = count == 0 ? kNoCorner
                             : ClassifyCornerColour({static_cast<uint8_t>(sum[0] / count),
                                                     static_cast<uint8_t>(sum[1] / count),
                                                     static_cast<uint8_t>(sum[2] / count)});
  }
}

// ReadStamp on a bottom-up B,G,R picture.
inline bool ReadStampBottomUpBgr(const uint8_t* bits, int width, int height, int stride, Stamp* out,
                                 int cell_size = 0) {
  return ReadStamp([&](int x, int y) { return Luma(BottomUpBgrPixel(bits, height, stride, x, y)); }, width,
                   height, out, cell_size);
}

}  // namespace test_pattern
