// Small POSIX socket helpers: an owned descriptor and whole-buffer I/O.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace phone_sim {

// Owns one file descriptor; closes it once.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = other.Release();
    }
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int Release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void Reset();

 private:
  int fd_ = -1;
};

// Sends all n bytes (no SIGPIPE); false when the peer is gone or on error.
bool SendAll(int fd, const void* data, size_t n);

// Receives exactly n bytes. Returns n, or the count received before the peer
// closed or an error / receive time-out occurred (then *error_text says which).
size_t RecvExact(int fd, void* data, size_t n, std::string* error_text);

// A listening TCP socket on 127.0.0.1:port; invalid with `error` set on failure.
UniqueFd ListenLoopback(int port, std::string* error);

// The local port a socket is bound to (0 on error).
int LocalPort(int fd);

// "address:port" of the socket's peer.
std::string PeerName(int fd);

}  // namespace phone_sim
