// The desktop's side of the greeting that opens every link:
//   desktop -> phone  5 bytes  "LNK10"
//   phone -> desktop  5 bytes  "LNK10"
//   phone -> desktop  4 bytes  configuration length L, signed little-endian
//   phone -> desktop  L bytes  configuration XML (only when L > 0)
//   desktop -> phone  4 bytes  00 00 00 00 (our own, empty configuration)
#pragma once
#include "link/core/byte_channel.h"
#include "link/core/link_config.h"

// Runs the exchange; true when it completed. `config` receives the phone's
// flags (untouched fields stay as they were). A wrong answer, a short read, a
// failed send or a length above link_wire::kMaxConfigLength fails; a length of
// 0 or less means "no configuration".
bool RunDesktopGreeting(ByteChannel& channel, LinkConfig* config);
