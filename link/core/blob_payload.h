// Splits a Blob message's payload into its name and data.
#pragma once
#include <cstdint>
#include <string>

namespace link_wire {

// Bytes 0..254 of a Blob payload hold the name, NUL-terminated unless all 255
// bytes are used; the data follows.
constexpr int32_t kBlobNameField = 255;

struct BlobView {
  std::string name;
  const uint8_t* data = nullptr;  // points into the payload; null when size is 0
  uint32_t size = 0;
};

// False for a payload shorter than the name field: such a blob is dropped
// (nothing stored), the link goes on. A payload of exactly 255 bytes is a
// named blob with no data.
bool SplitBlobPayload(const uint8_t* payload, int32_t length, BlobView* out);

}  // namespace link_wire
