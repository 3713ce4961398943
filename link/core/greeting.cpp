#include "link/core/greeting.h"

#include <cstring>
#include <string>

#include "link/core/frame_header.h"

bool RunDesktopGreeting(ByteChannel& channel, LinkConfig* config) {
  using namespace link_wire;
  if (channel.Send(kMagic, kMagicSize) != kMagicSize) return false;

  char answer[kMagicSize];
  if (channel.Recv(answer, kMagicSize) != kMagicSize) return false;
  if (std::memcmp(answer, kMagic, kMagicSize) != 0) return false;

  uint8_t lengthBytes[4];
  if (channel.Recv(lengthBytes, 4) != 4) return false;
  const int32_t length = static_cast<int32_t>(GetLe32(lengthBytes));
  if (length > kMaxConfigLength) return false;
  if (length > 0) {
    std::string text(static_cast<size_t>(length), '\0');
    if (channel.Recv(&text[0], length) != length) return false;
    // The text ends at its first NUL, as a C string would.
    text.resize(std::strlen(text.c_str()));
    ParseLinkConfig(text, config);
  }

  const uint8_t emptyConfig[4] = {0, 0, 0, 0};
  return channel.Send(emptyConfig, 4) == 4;
}
