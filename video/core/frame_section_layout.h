// Layout of the shared-memory section through which the virtual cameras,
// running in other processes, read the preview's pictures.
//
//   offset 0   int32  width in pixels
//   offset 4   int32  height in pixels
//   offset 8   int32  pixel byte count (width x height x 3)
//   offset 12  pixels: bottom row first, blue, green, red, no row padding
//   last 16    trailer: uint32 magic, uint32 sequence, uint64 write time
//
// The header and pixels are overwritten in place. The sequence lets a reader
// tell a whole picture from a half-written one: the writer makes it odd
// before it touches the picture and even again once the picture is complete,
// so a copy taken between two equal even readings is whole. The write time
// (UTC, 100 ns units since 1601, as a FILETIME) is stored before the sequence
// turns even, so it belongs to the picture a whole copy holds.
#pragma once
#include <cstdint>
#include <cstring>

namespace frame_section {

constexpr const char* kName = "LumoraFileMapping";
constexpr uint32_t kSize = 20 * 1024 * 1024;  // 0x1400000
constexpr uint32_t kWidthOffset = 0;
constexpr uint32_t kHeightOffset = 4;
constexpr uint32_t kByteCountOffset = 8;
constexpr uint32_t kPixelOffset = 12;
constexpr uint32_t kTrailerOffset = kSize - 16;
constexpr uint32_t kMagicOffset = kTrailerOffset;
constexpr uint32_t kSequenceOffset = kTrailerOffset + 4;
constexpr uint32_t kWriteTimeOffset = kTrailerOffset + 8;
constexpr uint32_t kTrailerMagic = 0x51455356;  // "VSEQ" in little-endian
constexpr uint32_t kMaxPixelBytes = kTrailerOffset - kPixelOffset;

// True when a picture of this size fits the section with its header.
inline bool FitsSection(int width, int height) {
  if (width <= 0 || height <= 0) return false;
  const uint64_t bytes = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 3u;
  return bytes <= kMaxPixelBytes;
}

// The writer's and readers' accesses to the trailer (the view is at least
// kSize bytes). The sequence is read and written atomically; the fences
// order it against the plain pixel copies on both sides. The writer's fences
// are full ones: a large memcpy may use non-temporal stores, which only a
// full fence orders before the sequence.
inline uint32_t* SequenceIn(uint8_t* view) {
  return reinterpret_cast<uint32_t*>(view + kSequenceOffset);
}

inline bool HasTrailer(const uint8_t* view) {
  uint32_t magic = 0;
  std::memcpy(&magic, view + kMagicOffset, sizeof(magic));
  return magic == kTrailerMagic;
}

// Writer: before the first picture of a fresh mapping.
inline void MarkTrailer(uint8_t* view) {
  std::memcpy(view + kMagicOffset, &kTrailerMagic, sizeof(uint32_t));
}

// Writer: makes the sequence odd; no later pixel write is seen before it.
inline void BeginWrite(uint8_t* view) {
  uint32_t* sequence = SequenceIn(view);
  __atomic_store_n(sequence, __atomic_load_n(sequence, __ATOMIC_RELAXED) | 1u, __ATOMIC_RELAXED);
  __atomic_thread_fence(__ATOMIC_SEQ_CST);
}

// Writer: stores the write time and makes the sequence even again, after
// every pixel write.
inline void EndWrite(uint8_t* view, uint64_t writeTime) {
  __atomic_store_n(reinterpret_cast<uint64_t*>(view + kWriteTimeOffset), writeTime, __ATOMIC_RELAXED);
  __atomic_thread_fence(__ATOMIC_SEQ_CST);
  uint32_t* sequence = SequenceIn(view);
  __atomic_store_n(sequence, __atomic_load_n(sequence, __ATOMIC_RELAXED) + 1u, __ATOMIC_RELEASE);
}

// Reader: the sequence before a copy (acquire: the copy reads what the
// writer wrote before it made this value).
inline uint32_t SequenceBeforeCopy(const uint8_t* view) {
  return __atomic_load_n(reinterpret_cast<const uint32_t*>(view + kSequenceOffset), __ATOMIC_ACQUIRE);
}

// Reader: the sequence after a copy (the fence keeps the copy's reads
// before this one).
inline uint32_t SequenceAfterCopy(const uint8_t* view) {
  __atomic_thread_fence(__ATOMIC_ACQUIRE);
  return __atomic_load_n(reinterpret_cast<const uint32_t*>(view + kSequenceOffset), __ATOMIC_RELAXED);
}

inline uint64_t WriteTimeIn(const uint8_t* view) {
  return __atomic_load_n(reinterpret_cast<const uint64_t*>(view + kWriteTimeOffset), __ATOMIC_RELAXED);
}

}  // namespace frame_section
