#include "link/core/frame_reader.h"

#include <new>

#include "link/core/frame_header.h"

std::unique_ptr<LinkMessage> ReadFrame(ByteChannel& channel) {
  uint8_t header[link_wire::kFrameHeaderSize];
  // Both header words in one read: the same bytes as two 4-byte reads, one
  // receive call fewer per frame.
  if (channel.Recv(header, link_wire::kFrameHeaderSize) != link_wire::kFrameHeaderSize) return nullptr;
  const link_wire::FrameHeader h = link_wire::DecodeFrameHeader(header);
  if (!link_wire::IsAcceptablePayloadLength(h.length)) return nullptr;

  auto message = std::make_unique<LinkMessage>();
  message->type = static_cast<uint16_t>(h.type & 0xFFFFu);
  if (h.length == 0) return message;

  std::unique_ptr<uint8_t[]> payload(new (std::nothrow) uint8_t[h.length]);
  if (!payload) return nullptr;
  if (channel.Recv(payload.get(), h.length) != h.length) return message;  // cut short: no payload
  message->data = std::move(payload);
  message->length = h.length;
  return message;
}
