// Reads one frame from a channel, with the length bound applied.
#pragma once
#include <memory>

#include "link/core/byte_channel.h"
#include "link/core/link_message.h"

// Returns the next message, or null when the link failed: a short header, or a
// length that is negative or above link_wire::kMaxFramePayload (no allocation
// is made for it). A payload cut short by the peer yields the message without
// payload (data null, length 0); the next read then fails.
std::unique_ptr<LinkMessage> ReadFrame(ByteChannel& channel);
