// The desktop's side of the link, written plainly for the simulator's tests:
// a loopback TCP client with whole-buffer reads bounded by a receive time-out.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct ReceivedFrame {
  uint32_t type = 0;
  int32_t length = 0;
  std::vector<uint8_t> payload;  // what arrived (may be short when the link broke)
};

class DesktopClient {
 public:
  DesktopClient() = default;
  ~DesktopClient();
  DesktopClient(const DesktopClient&) = delete;
  DesktopClient& operator=(const DesktopClient&) = delete;

  // Connects to 127.0.0.1:port; each later receive waits at most timeout_ms.
  bool Connect(int port, int timeout_ms = 10000);
  void Close();

  bool Send(const void* data, size_t n);
  bool SendFrame(uint32_t type, const std::string& payload);
  // Exactly n bytes, or fewer when the peer closed or the time-out passed.
  size_t Recv(void* data, size_t n);
  // Waits up to timeout_ms for any byte to arrive: 1 data, 0 time-out, -1 closed/error.
  int WaitReadable(int timeout_ms);

  // The desktop's greeting: sends the magic, reads the 5-byte answer and the
  // configuration block, sends the empty block. Returns false when the
  // answer was incomplete; the answer and the XML are returned.
  bool Greet(std::string* magic_answer, std::string* config_xml);
  // One frame; false when even the header did not arrive whole. A short
  // payload (broken link) returns true with payload.size() < length.
  bool ReadFrame(ReceivedFrame* frame, int32_t max_length = 16 * 1024 * 1024);

  int fd() const { return fd_; }

 private:
  int fd_ = -1;
};

// Little-endian 32-bit word at `p`.
uint32_t Le32(const uint8_t* p);
