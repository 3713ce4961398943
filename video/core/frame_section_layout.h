// Layout of the shared-memory section through which the virtual cameras,
// running in other processes, read the preview's pictures.
//
//   offset 0   int32  width in pixels
//   offset 4   int32  height in pixels
//   offset 8   int32  pixel byte count (width x height x 3)
//   offset 12  pixels: bottom row first, blue, green, red, no row padding
//   last 8     trailer: uint32 magic, uint32 sequence
//
// The header and pixels are overwritten in place. The sequence lets a reader
// tell a whole picture from a half-written one: the writer makes it odd
// before it touches the picture and even again once the picture is complete,
// so a copy taken between two equal even readings is whole.
#pragma once
#include <cstdint>

namespace frame_section {

constexpr const char* kName = "LumoraFileMapping";
constexpr uint32_t kSize = 20 * 1024 * 1024;  // 0x1400000
constexpr uint32_t kWidthOffset = 0;
constexpr uint32_t kHeightOffset = 4;
constexpr uint32_t kByteCountOffset = 8;
constexpr uint32_t kPixelOffset = 12;
constexpr uint32_t kTrailerOffset = kSize - 8;
constexpr uint32_t kTrailerMagic = 0x51455356;  // "VSEQ" in little-endian
constexpr uint32_t kMaxPixelBytes = kTrailerOffset - kPixelOffset;

// True when a picture of this size fits the section with its header.
inline bool FitsSection(int width, int height) {
  if (width <= 0 || height <= 0) return false;
  const uint64_t bytes = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 3u;
  return bytes <= kMaxPixelBytes;
}

}  // namespace frame_section
