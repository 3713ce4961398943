// A stand-in for the phone app in the link tests: a loopback TCP server that
// accepts one desktop, plays a script (expect bytes, send bytes, close) and
// records every byte the desktop sends. From a chosen
// offset on it also splits what it received into frames, so tests can wait
// for a frame of a given type.
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

#include "tests/link/core/memory_channel.h"

namespace fake {

using ::Frame;
using ::Le32;
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
  FakePhone();
  ~FakePhone();
  FakePhone(const FakePhone&) = delete;
  FakePhone& operator=(const FakePhone&) = delete;

  // Script steps, played in order once a desktop has connected.
  FakePhone& Expect(size_t totalBytes);  // wait until this many bytes arrived in all
  FakePhone& Send(const std::string& bytes);
  FakePhone& CloseConnection();  // shutdown + close: the desktop reads end-of-stream
  // The usual opening: expect the 5-byte magic, answer with `config`.
  FakePhone& AnswerGreeting(const std::string& config = {}) { return Expect(5).Send(Greeting(config)); }
  // Frames are counted from this byte offset of the received stream (9 after
  // a complete greeting).
  FakePhone& ParseFramesFrom(size_t offset);

  // Listens on 127.0.0.1 at a free port and starts the phone's thread.
  bool Start();
  uint16_t port() const { return port_; }

  // Waits, each bounded by timeoutMs; false on time-out.
  bool WaitForBytes(size_t count, unsigned timeoutMs);
  bool WaitForFrames(uint32_t type, size_t count, unsigned timeoutMs);
  bool WaitForDesktopClose(
      unsigned timeoutMs);  // the link ended (desktop close or reset, or the phone's own close)

  std::string Received() const;
  std::vector<ReceivedFrame> Frames() const;
  // True when the frame stream contained a header with a length that cannot be right.
  bool SawMalformedFrame() const;

 private:
  struct Step {
    enum Kind { kExpect, kSend, kClose } kind;
    size_t count;
    std::string bytes;
  };
  void ScriptThread();
  void ReceiveThread();
  void ParseFramesLocked();

  std::vector<Step> steps_;
  SOCKET listener_ = INVALID_SOCKET;
  SOCKET peer_ = INVALID_SOCKET;
  uint16_t port_ = 0;
  std::thread script_;
  std::thread receiver_;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool stop_ = false;
  bool desktopClosed_ = false;
  std::string received_;
  size_t frameStart_ = SIZE_MAX;
  size_t parsePos_ = 0;
  bool malformed_ = false;
  std::vector<ReceivedFrame> frames_;
};

}  // namespace fake
