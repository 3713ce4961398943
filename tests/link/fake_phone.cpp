#include "tests/link/fake_phone.h"

#include <windows.h>

#include <chrono>

namespace fake {

namespace {

// Winsock for the whole test executable, as the program's start-up does.
struct WinsockSession {
  WinsockSession() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~WinsockSession() { WSACleanup(); }
} winsockSession;

constexpr unsigned kAcceptTimeoutMs = 30000;
constexpr uint32_t kSaneFrameLength = 64u * 1024 * 1024;

uint32_t GetLe32(const std::string& s, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(s[at + i]);
  return v;
}

}  // namespace

std::string Greeting(const std::string& config) {
  return "LNK10" + Le32(static_cast<uint32_t>(config.size())) + config;
}

std::string BlobPayload(const std::string& name, const std::string& data) {
  std::string field = name.substr(0, 255);
  field.resize(255, '\0');
  return field + data;
}

FakePhone::FakePhone() = default;

FakePhone::~FakePhone() {
  SOCKET peer;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
    peer = peer_;
  }
  changed_.notify_all();
  // Wakes a script send or the receiver blocked on the connection.
  if (peer != INVALID_SOCKET) shutdown(peer, SD_BOTH);
  if (script_.joinable()) script_.join();
  if (receiver_.joinable()) receiver_.join();
  if (peer_ != INVALID_SOCKET) closesocket(peer_);
  if (listener_ != INVALID_SOCKET) closesocket(listener_);
}

FakePhone& FakePhone::Expect(size_t totalBytes) {
  steps_.push_back({Step::kExpect, totalBytes, {}});
  return *this;
}

FakePhone& FakePhone::Send(const std::string& bytes) {
  steps_.push_back({Step::kSend, 0, bytes});
  return *this;
}

FakePhone& FakePhone::CloseConnection() {
  steps_.push_back({Step::kClose, 0, {}});
  return *this;
}

FakePhone& FakePhone::ParseFramesFrom(size_t offset) {
  std::lock_guard<std::mutex> lock(mutex_);
  frameStart_ = offset;
  parsePos_ = offset;
  return *this;
}

bool FakePhone::Start() {
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener_ == INVALID_SOCKET) return false;
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  if (bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) return false;
  if (listen(listener_, 1) != 0) return false;
  int len = sizeof(addr);
  if (getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) return false;
  port_ = ntohs(addr.sin_port);
  script_ = std::thread([this] { ScriptThread(); });
  return true;
}

void FakePhone::ScriptThread() {
  // Accept with a bound, checking for the end of the test in between.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAcceptTimeoutMs);
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stop_) return;
    }
    if (std::chrono::steady_clock::now() > deadline) return;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(listener_, &readable);
    timeval tv = {0, 50 * 1000};
    if (select(0, &readable, nullptr, nullptr, &tv) == 1) break;
  }
  SOCKET peer = accept(listener_, nullptr, nullptr);
  if (peer == INVALID_SOCKET) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    peer_ = peer;
    if (stop_) shutdown(peer, SD_BOTH);  // the test ended while we accepted
  }
  receiver_ = std::thread([this] { ReceiveThread(); });

  // A step that cannot complete ends the script; the test sees what the
  // desktop received.
  for (const Step& step : steps_) {
    if (step.kind == Step::kExpect) {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [&] { return stop_ || desktopClosed_ || received_.size() >= step.count; });
      if (received_.size() < step.count) return;
    } else if (step.kind == Step::kSend) {
      size_t done = 0;
      while (done < step.bytes.size()) {
        const int n = send(peer, step.bytes.data() + done, static_cast<int>(step.bytes.size() - done), 0);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
      }
      if (done < step.bytes.size()) return;
    } else {
      shutdown(peer, SD_BOTH);
    }
  }
}

void FakePhone::ReceiveThread() {
  std::vector<char> buffer(256 * 1024);
  for (;;) {
    const int n = recv(peer_, buffer.data(), static_cast<int>(buffer.size()), 0);
    std::lock_guard<std::mutex> lock(mutex_);
    if (n <= 0) {
      desktopClosed_ = true;
      changed_.notify_all();
      return;
    }
    received_.append(buffer.data(), static_cast<size_t>(n));
    ParseFramesLocked();
    changed_.notify_all();
  }
}

void FakePhone::ParseFramesLocked() {
  if (frameStart_ == SIZE_MAX || malformed_) return;
  while (received_.size() >= parsePos_ + 8) {
    const uint32_t type = GetLe32(received_, parsePos_);
    const uint32_t length = GetLe32(received_, parsePos_ + 4);
    if (length > kSaneFrameLength) {
      malformed_ = true;
      return;
    }
    if (received_.size() < parsePos_ + 8 + length) return;
    frames_.push_back({type, received_.substr(parsePos_ + 8, length)});
    parsePos_ += 8 + length;
  }
}

bool FakePhone::WaitForBytes(size_t count, unsigned timeoutMs) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [&] { return received_.size() >= count; });
}

bool FakePhone::WaitForFrames(uint32_t type, size_t count, unsigned timeoutMs) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
    size_t n = 0;
    for (const ReceivedFrame& f : frames_) n += f.type == type;
    return n >= count;
  });
}

bool FakePhone::WaitForDesktopClose(unsigned timeoutMs) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return desktopClosed_; });
}

std::string FakePhone::Received() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return received_;
}

std::vector<ReceivedFrame> FakePhone::Frames() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return frames_;
}

bool FakePhone::SawMalformedFrame() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return malformed_;
}

}  // namespace fake
