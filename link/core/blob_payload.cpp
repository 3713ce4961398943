#include "link/core/blob_payload.h"

#include <cstring>

namespace link_wire {

bool SplitBlobPayload(const uint8_t* payload, int32_t length, BlobView* out) {
  if (payload == nullptr || length < kBlobNameField) return false;
  const void* nul = std::memchr(payload, 0, kBlobNameField);
  const size_t nameLength =
      nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - payload) : kBlobNameField;
  out->name.assign(reinterpret_cast<const char*>(payload), nameLength);
  out->size = static_cast<uint32_t>(length - kBlobNameField);
  out->data = out->size ? payload + kBlobNameField : nullptr;
  return true;
}

}  // namespace link_wire
