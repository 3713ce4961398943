#include "tests/phone_simulator/desktop_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "link/core/frame_header.h"
#include "video/core/h264_decoder.h"

using link_wire::GetLe32;

void DesktopClient::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool DesktopClient::Connect(int port) {
  Close();
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const timeval limit{10, 0};
  ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return fd_ >= 0 && ::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
}

bool DesktopClient::Send(const void* data, size_t n) {
  const char* p = static_cast<const char*>(data);
  while (n > 0) {
    const ssize_t sent = ::send(fd_, p, n, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    p += sent;
    n -= static_cast<size_t>(sent);
  }
  return true;
}

bool DesktopClient::SendFrame(uint32_t type, const std::string& payload) {
  uint8_t header[8];
  link_wire::PutLe32(header, type);
  link_wire::PutLe32(header + 4, static_cast<uint32_t>(payload.size()));
  return Send(header, 8) && Send(payload.data(), payload.size());
}

size_t DesktopClient::Recv(void* data, size_t n) {
  char* p = static_cast<char*>(data);
  size_t got = 0;
  while (got < n) {
    const ssize_t r = ::recv(fd_, p + got, n - got, 0);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    got += static_cast<size_t>(r);
  }
  return got;
}

int DesktopClient::WaitReadable(int timeout_ms) {
  pollfd p{fd_, POLLIN, 0};
  const int ready = ::poll(&p, 1, timeout_ms);
  if (ready <= 0) return ready;
  char c;
  return ::recv(fd_, &c, 1, MSG_PEEK | MSG_DONTWAIT) > 0 ? 1 : -1;
}

::testing::AssertionResult DesktopClient::Greet(const std::string& expected_magic, std::string* xml) {
  char magic[5];
  uint8_t length_bytes[4];
  if (!Send("LNK10", 5) || Recv(magic, 5) != 5 || Recv(length_bytes, 4) != 4)
    return ::testing::AssertionFailure() << "greeting incomplete";
  if (std::string(magic, 5) != expected_magic)
    return ::testing::AssertionFailure()
           << "magic " << std::string(magic, 5) << ", expected " << expected_magic;
  const int32_t length = static_cast<int32_t>(GetLe32(length_bytes));
  if (length < 0 || length > 1024 * 1024) return ::testing::AssertionFailure() << "block length " << length;
  std::string config(static_cast<size_t>(length), '\0');
  if (Recv(&config[0], config.size()) != config.size() || !Send("\0\0\0\0", 4))
    return ::testing::AssertionFailure() << "configuration block incomplete";
  if (xml) *xml = config;
  return ::testing::AssertionSuccess();
}

bool DesktopClient::ReadFrame(ReceivedFrame* frame, int32_t max_length) {
  uint8_t header[8];
  if (Recv(header, 8) != 8) return false;
  frame->type = GetLe32(header);
  frame->length = static_cast<int32_t>(GetLe32(header + 4));
  frame->payload.clear();
  if (frame->length > 0 && frame->length <= max_length) {
    frame->payload.resize(static_cast<size_t>(frame->length));
    frame->payload.resize(Recv(frame->payload.data(), frame->payload.size()));
  }
  return true;
}

bool DesktopClient::ReadPictures(size_t count, std::vector<DeliveredPicture>* pictures,
                                 std::vector<ReceivedFrame>* video) {
  RecordingSink sink;
  H264Decoder decoder;
  decoder.SetFrameSink(&sink);
  for (int i = 0; i < 20000 && sink.pictures.size() < count; ++i) {
    ReceivedFrame frame;
    if (!ReadFrame(&frame) || !frame.Whole()) return false;
    if (frame.type != 1) continue;
    decoder.Feed(frame.payload.data(), static_cast<int>(frame.payload.size()));
    if (video) video->push_back(std::move(frame));
  }
  *pictures = std::move(sink.pictures);
  return pictures->size() >= count;
}

::testing::AssertionResult ListenAndGreet(SimulatorProcess& sim, DesktopClient& desktop,
                                          const std::vector<std::string>& args, int* port,
                                          const std::string& expected_magic, std::string* xml) {
  const int listening = sim.StartListening(args);
  if (port) *port = listening;
  ::testing::AssertionResult greeted = listening > 0 && desktop.Connect(listening)
                                           ? desktop.Greet(expected_magic, xml)
                                           : ::testing::AssertionFailure() << "cannot connect";
  if (!greeted) greeted << "\n" << sim.Transcript();
  return greeted;
}
