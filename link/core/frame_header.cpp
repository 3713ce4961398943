#include "link/core/frame_header.h"

namespace link_wire {

void EncodeFrameHeader(uint16_t type, int32_t length, uint8_t out[kFrameHeaderSize]) {
  PutLe32(out, type);
  PutLe32(out + 4, static_cast<uint32_t>(length));
}

FrameHeader DecodeFrameHeader(const uint8_t in[kFrameHeaderSize]) {
  FrameHeader h;
  h.type = GetLe32(in);
  h.length = static_cast<int32_t>(GetLe32(in + 4));
  return h;
}

}  // namespace link_wire
