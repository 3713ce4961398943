// A stand-in for the phone app in the link tests: a loopback TCP server on
// one thread that accepts one desktop, plays a script (expect bytes, send
// bytes, close, hold) and records every byte the desktop sends, split into
// frames from the end of the greeting on.
//
// Wire bytes in tests are built here, independently of the code under test.
#pragma once
#include <winsock2.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "link/link_reader.h"
#include "tests/support/wire_bytes.h"

namespace fake {

// The phone's answer to the desktop's magic: "LNK10", length, configuration.
std::string Greeting(const std::string& config = {});
// A Blob payload: the name in a 255-byte field, then the data.
std::string BlobPayload(const std::string& name, const std::string& data);

struct ReceivedFrame {
  uint32_t type;
  std::string payload;
};

class FakePhone {
 public:
  FakePhone() = default;
  ~FakePhone();
  FakePhone(const FakePhone&) = delete;
  FakePhone& operator=(const FakePhone&) = delete;

  // Script steps, played in order once a desktop has connected; afterwards
  // the phone reads until the link ends.
  FakePhone& Expect(size_t totalBytes);  // read until this many bytes arrived in all
  FakePhone& Send(const std::string& bytes);
  FakePhone& CloseConnection();  // shutdown: the desktop reads end-of-stream
  FakePhone& Hold();             // stop reading until the test ends: the desktop's sends back up
  // The usual opening: expect the 5-byte magic, answer with `config`.
  FakePhone& AnswerGreeting(const std::string& config = {}) { return Expect(5).Send(Greeting(config)); }

  // Listens on 127.0.0.1 at a free port and starts the phone's thread.
  bool Start();
  uint16_t port() const { return port_; }
  // Answers the greeting with an empty configuration, then sends `then`;
  // starts and connects `reader`.
  ::testing::AssertionResult ConnectGreeted(LinkReader& reader, const std::string& then = {});

  // Waits, each bounded by timeoutMs; false on time-out.
  bool WaitForFrames(uint32_t type, size_t count, unsigned timeoutMs);
  // The link ended (desktop close or reset, or the phone's own close).
  bool WaitForDesktopClose(unsigned timeoutMs);

  std::string Received() const;
  std::vector<ReceivedFrame> Frames() const;

 private:
  struct Step {
    enum Kind { kExpect, kSend, kClose, kHold } kind;
    size_t count;
    std::string bytes;
  };
  FakePhone& Add(Step step);
  void Run();
  bool Accept();
  bool PlayScript();
  bool ReceiveSome();  // false once the link has ended

  std::vector<Step> steps_;
  SOCKET listener_ = INVALID_SOCKET;
  SOCKET peer_ = INVALID_SOCKET;
  uint16_t port_ = 0;
  std::thread thread_;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool stop_ = false;
  bool desktopClosed_ = false;
  std::string received_;
  size_t parsePos_ = 9;  // frames start after the desktop's greeting
  std::vector<ReceivedFrame> frames_;
};

}  // namespace fake
