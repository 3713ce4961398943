// The desktop's side of the link, written plainly for the simulator's tests:
// a loopback TCP client with whole-buffer reads bounded by a receive
// time-out, the greeting, and the Video messages decoded by the product's
// H.264 decoder.
#pragma once
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/phone_simulator/simulator_process.h"
#include "tests/support/decoded_pictures.h"

struct ReceivedFrame {
  uint32_t type = 0;
  int32_t length = 0;
  std::vector<uint8_t> payload;  // what arrived (may be short when the link broke)
  bool Whole() const { return payload.size() == static_cast<size_t>(length > 0 ? length : 0); }
};

class DesktopClient {
 public:
  DesktopClient() = default;
  ~DesktopClient() { Close(); }
  DesktopClient(const DesktopClient&) = delete;
  DesktopClient& operator=(const DesktopClient&) = delete;

  // Connects to 127.0.0.1:port; each later receive waits at most 10 s.
  bool Connect(int port);
  void Close();

  bool Send(const void* data, size_t n);
  bool SendFrame(uint32_t type, const std::string& payload);
  // Exactly n bytes, or fewer when the peer closed or the time-out passed.
  size_t Recv(void* data, size_t n);
  // Waits up to timeout_ms for any byte to arrive: 1 data, 0 time-out, -1 closed/error.
  int WaitReadable(int timeout_ms);

  // The desktop's greeting: sends the magic, reads the 5-byte answer and the
  // configuration block, sends the empty block. Fails unless the answer is
  // `expected_magic`; the configuration XML goes to *xml when given.
  ::testing::AssertionResult Greet(const std::string& expected_magic = "LNK10", std::string* xml = nullptr);
  // One frame; false when even the header did not arrive whole. Payloads
  // longer than max_length are left unread.
  bool ReadFrame(ReceivedFrame* frame, int32_t max_length = 16 * 1024 * 1024);

  // Reads whole frames until `count` pictures have been decoded from the
  // Video payloads, skipping other frames. The Video frames go to *video
  // when given.
  bool ReadPictures(size_t count, std::vector<DeliveredPicture>* pictures,
                    std::vector<ReceivedFrame>* video = nullptr);

 private:
  int fd_ = -1;
};

// Starts `sim` with "--port 0" plus `args`, connects and greets; a failure
// carries the simulator's transcript. The port goes to *port when given.
::testing::AssertionResult ListenAndGreet(SimulatorProcess& sim, DesktopClient& desktop,
                                          const std::vector<std::string>& args, int* port = nullptr,
                                          const std::string& expected_magic = "LNK10",
                                          std::string* xml = nullptr);
