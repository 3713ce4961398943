#include "tests/phone_simulator/desktop_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

DesktopClient::~DesktopClient() {
  Close();
}

void DesktopClient::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool DesktopClient::Connect(int port, int timeout_ms) {
  Close();
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return false;
  timeval limit{timeout_ms / 1000, (timeout_ms % 1000) * 1000};
  ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    Close();
    return false;
  }
  return true;
}

bool DesktopClient::Send(const void* data, size_t n) {
  const char* p = static_cast<const char*>(data);
  while (n > 0) {
    ssize_t sent = ::send(fd_, p, n, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    p += sent;
    n -= static_cast<size_t>(sent);
  }
  return true;
}

bool DesktopClient::SendFrame(uint32_t type, const std::string& payload) {
  uint8_t header[8];
  uint32_t words[2] = {type, static_cast<uint32_t>(payload.size())};
  for (int w = 0; w < 2; ++w)
    for (int i = 0; i < 4; ++i) header[w * 4 + i] = static_cast<uint8_t>(words[w] >> (8 * i));
  return Send(header, 8) && Send(payload.data(), payload.size());
}

size_t DesktopClient::Recv(void* data, size_t n) {
  char* p = static_cast<char*>(data);
  size_t got = 0;
  while (got < n) {
    ssize_t r = ::recv(fd_, p + got, n - got, 0);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    got += static_cast<size_t>(r);
  }
  return got;
}

int DesktopClient::WaitReadable(int timeout_ms) {
  pollfd p{fd_, POLLIN, 0};
  int ready = ::poll(&p, 1, timeout_ms);
  if (ready == 0) return 0;
  if (ready < 0) return -1;
  char c;
  ssize_t peeked = ::recv(fd_, &c, 1, MSG_PEEK | MSG_DONTWAIT);
  return peeked > 0 ? 1 : -1;
}

bool DesktopClient::Greet(std::string* magic_answer, std::string* config_xml) {
  if (!Send("LNK10", 5)) return false;
  char answer[5];
  if (Recv(answer, 5) != 5) return false;
  magic_answer->assign(answer, 5);
  uint8_t length_bytes[4];
  if (Recv(length_bytes, 4) != 4) return false;
  int32_t length = static_cast<int32_t>(Le32(length_bytes));
  config_xml->clear();
  if (length > 0) {
    if (length > 1024 * 1024) return false;
    config_xml->resize(static_cast<size_t>(length));
    if (Recv(&(*config_xml)[0], config_xml->size()) != config_xml->size()) return false;
  }
  const uint8_t zero[4] = {0, 0, 0, 0};
  return Send(zero, 4);
}

bool DesktopClient::ReadFrame(ReceivedFrame* frame, int32_t max_length) {
  uint8_t header[8];
  if (Recv(header, 8) != 8) return false;
  frame->type = Le32(header);
  frame->length = static_cast<int32_t>(Le32(header + 4));
  frame->payload.clear();
  if (frame->length > 0 && frame->length <= max_length) {
    frame->payload.resize(static_cast<size_t>(frame->length));
    frame->payload.resize(Recv(frame->payload.data(), frame->payload.size()));
  }
  return true;
}
