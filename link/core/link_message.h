// One framed message of the phone link, in memory.
#pragma once
#include <cstdint>
#include <memory>

// Values of the frame's type word.
enum class LinkMessageType : uint16_t {
  Video = 1,      // phone -> desktop: a piece of the H.264 elementary stream
  Blob = 3,       // phone -> desktop: 255-byte name field, then the data
  Command = 4,    // both ways: UTF-8 XML text without terminator
  Heartbeat = 5,  // desktop -> phone: no payload
};

// The receiver owns the record and its payload. Unknown type values are kept
// as received (low 16 bits) so the caller can discard them.
struct LinkMessage {
  std::unique_ptr<uint8_t[]> data;  // payload, null when there is none
  int32_t length = 0;               // payload bytes, 0 when there is none
  uint16_t type = static_cast<uint16_t>(LinkMessageType::Video);

  bool Is(LinkMessageType t) const { return type == static_cast<uint16_t>(t); }
};
