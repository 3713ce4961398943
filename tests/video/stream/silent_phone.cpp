#include "tests/video/stream/silent_phone.h"

namespace {

void SetNonBlocking(SOCKET s) {
  u_long on = 1;
  ioctlsocket(s, FIONBIO, &on);
}

bool WritableWithin(SOCKET s, long ms) {
  fd_set writable;
  FD_ZERO(&writable);
  FD_SET(s, &writable);
  timeval tv{0, ms * 1000};
  return select(0, nullptr, &writable, nullptr, &tv) > 0;
}

}  // namespace

SilentPhone::SilentPhone(Mode mode) : listener_(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof(addr);
  if (!listener_ || bind(listener_.get(), reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 ||
      listen(listener_.get(), mode == kUnreachable ? 0 : 1) != 0 ||
      getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&addr), &size) != 0)
    return;
  port_ = ntohs(addr.sin_port);
  SetNonBlocking(listener_.get());
  if (mode != kUnreachable) return;
  // Connect until one attempt is left pending: from then on the backlog is
  // full and nobody empties it.
  for (int i = 0; i < 16 && !unreachable_; ++i) {
    UniqueSocket filler(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    SetNonBlocking(filler.get());
    connect(filler.get(), reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
    unreachable_ = !WritableWithin(filler.get(), 300);
    fillers_.push_back(std::move(filler));
  }
}

size_t SilentPhone::ReceivedBytes() {
  if (!desktop_) {
    desktop_.reset(accept(listener_.get(), nullptr, nullptr));
    if (!desktop_) return 0;
    SetNonBlocking(desktop_.get());
  }
  char chunk[256];
  int got;
  while ((got = recv(desktop_.get(), chunk, sizeof(chunk), 0)) > 0) received_ += static_cast<size_t>(got);
  return received_;
}
