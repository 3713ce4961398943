// A phone that never answers, for the tests and the benchmark of stopping a
// run while it waits: a loopback listener that either takes the desktop's
// greeting and never replies, or cannot be reached at all.
#pragma once
#include <winsock2.h>

#include <cstdint>
#include <vector>

#include "framework/unique_owner.h"

struct SocketTraits {
  static bool IsValid(SOCKET s) { return s != 0 && s != INVALID_SOCKET; }
  static void Release(SOCKET s) { closesocket(s); }
};
using UniqueSocket = UniqueOwner<SOCKET, SocketTraits>;

// A phone that never answers, on a free loopback port. kTakesTheGreeting: the
// desktop's connect completes and ReceivedBytes reads what it sends without
// ever replying. kUnreachable: the listen backlog is filled with connections
// of its own first, so the system drops the desktop's connect attempts and
// its connect stays pending. Everything here polls without blocking.
class SilentPhone {
 public:
  enum Mode { kTakesTheGreeting, kUnreachable };
  explicit SilentPhone(Mode mode);
  uint16_t port() const { return port_; }
  // kUnreachable: true when a connect to it was seen to stay pending.
  bool unreachable() const { return unreachable_; }
  // Accepts the desktop once it has come and reads what it sent: the count so far.
  size_t ReceivedBytes();

 private:
  UniqueSocket listener_, desktop_;
  std::vector<UniqueSocket> fillers_;  // kUnreachable: the connections that fill the backlog
  uint16_t port_ = 0;
  bool unreachable_ = false;
  size_t received_ = 0;
};
