// Wire framing of the phone link, shared by the desktop and the phone
// simulator. Everything here is platform-free.
//
// After the greeting every message in either direction is one frame:
//   offset 0, 4 bytes: type, 32-bit little-endian (the receiver keeps the low 16 bits)
//   offset 4, 4 bytes: payload length L, 32-bit signed little-endian
//   offset 8, L bytes: payload
#pragma once
#include <cstddef>
#include <cstdint>

namespace link_wire {

// The greeting both sides exchange first: these 5 ASCII bytes, no terminator.
constexpr char kMagic[] = "LNK10";
constexpr int kMagicSize = 5;
// TCP / usbmux port the phone app listens on.
constexpr uint16_t kLinkPort = 8984;

constexpr int kFrameHeaderSize = 8;

// Bound on one frame's payload. A phone frame larger than this (or with a
// negative length) is treated as a broken link, never as an allocation.
// 16 MiB is far above the largest video chunk (a key frame of a 1080p stream
// is well below 1 MiB) and above any picture blob the panel shows.
constexpr int32_t kMaxFramePayload = 16 * 1024 * 1024;

// Bound on the configuration block of the greeting: a few hundred bytes of XML
// in practice; a larger length fails the greeting.
constexpr int32_t kMaxConfigLength = 1024 * 1024;

inline void PutLe32(uint8_t* out, uint32_t v) {
  out[0] = static_cast<uint8_t>(v);
  out[1] = static_cast<uint8_t>(v >> 8);
  out[2] = static_cast<uint8_t>(v >> 16);
  out[3] = static_cast<uint8_t>(v >> 24);
}

inline uint32_t GetLe32(const uint8_t* in) {
  return static_cast<uint32_t>(in[0]) | (static_cast<uint32_t>(in[1]) << 8) |
         (static_cast<uint32_t>(in[2]) << 16) | (static_cast<uint32_t>(in[3]) << 24);
}

struct FrameHeader {
  uint32_t type = 0;   // full 32-bit word as received
  int32_t length = 0;  // signed payload length as received
};

// Writes the 8 header bytes: the 16-bit type zero-extended, then the length.
void EncodeFrameHeader(uint16_t type, int32_t length, uint8_t out[kFrameHeaderSize]);

// Reads the 8 header bytes without judging them.
FrameHeader DecodeFrameHeader(const uint8_t in[kFrameHeaderSize]);

// True when a received payload length may be read: 0 .. kMaxFramePayload.
inline bool IsAcceptablePayloadLength(int32_t length) {
  return length >= 0 && length <= kMaxFramePayload;
}

}  // namespace link_wire
