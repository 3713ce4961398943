#include "tests/support/fake_phone.h"

#include <windows.h>

#include <chrono>
#include <cstring>

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

uint32_t GetLe32(const std::string& s, size_t at) {
  uint32_t v;  // the test machine is little-endian, like the wire
  std::memcpy(&v, s.data() + at, 4);
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

FakePhone::~FakePhone() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
    // Wakes a send or receive blocked on the connection.
    if (peer_ != INVALID_SOCKET) shutdown(peer_, SD_BOTH);
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
  if (peer_ != INVALID_SOCKET) closesocket(peer_);
  if (listener_ != INVALID_SOCKET) closesocket(listener_);
}

FakePhone& FakePhone::Add(Step step) {
  steps_.push_back(std::move(step));
  return *this;
}
FakePhone& FakePhone::Expect(size_t totalBytes) {
  return Add({Step::kExpect, totalBytes, {}});
}
FakePhone& FakePhone::Send(const std::string& bytes) {
  return Add({Step::kSend, 0, bytes});
}
FakePhone& FakePhone::CloseConnection() {
  return Add({Step::kClose, 0, {}});
}
FakePhone& FakePhone::Hold() {
  return Add({Step::kHold, 0, {}});
}

bool FakePhone::Start() {
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int len = sizeof(addr);
  if (listener_ == INVALID_SOCKET || bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 ||
      listen(listener_, 1) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
    return false;
  port_ = ntohs(addr.sin_port);
  thread_ = std::thread([this] { Run(); });
  return true;
}

::testing::AssertionResult FakePhone::ConnectGreeted(LinkReader& reader, const std::string& then) {
  AnswerGreeting();
  if (!then.empty()) Send(then);
  if (!Start()) return ::testing::AssertionFailure() << "the fake phone did not start";
  const int connected = reader.ConnectLoopback(port_);
  if (connected != 1) return ::testing::AssertionFailure() << "ConnectLoopback returned " << connected;
  return ::testing::AssertionSuccess();
}

void FakePhone::Run() {
  // A step that cannot complete ends the script; the test sees what the
  // desktop received.
  if (Accept() && PlayScript())
    while (ReceiveSome()) {
    }
}

// Accepts with a bound, checking for the end of the test in between.
bool FakePhone::Accept() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAcceptTimeoutMs);
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stop_ || std::chrono::steady_clock::now() > deadline) return false;
    }
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(listener_, &readable);
    timeval tv = {0, 50 * 1000};
    if (select(0, &readable, nullptr, nullptr, &tv) == 1) break;
  }
  SOCKET peer = accept(listener_, nullptr, nullptr);
  std::lock_guard<std::mutex> lock(mutex_);
  peer_ = peer;
  if (stop_ && peer != INVALID_SOCKET) shutdown(peer, SD_BOTH);  // the test ended while we accepted
  return peer != INVALID_SOCKET;
}

bool FakePhone::PlayScript() {
  for (const Step& step : steps_) {
    if (step.kind == Step::kExpect) {
      while (Received().size() < step.count)
        if (!ReceiveSome()) return false;
    } else if (step.kind == Step::kSend) {
      for (size_t done = 0; done < step.bytes.size();) {
        const int n = send(peer_, step.bytes.data() + done, static_cast<int>(step.bytes.size() - done), 0);
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
      }
    } else if (step.kind == Step::kClose) {
      shutdown(peer_, SD_BOTH);
    } else {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [&] { return stop_; });
    }
  }
  return true;
}

bool FakePhone::ReceiveSome() {
  char buffer[64 * 1024];
  const int n = recv(peer_, buffer, sizeof(buffer), 0);
  std::lock_guard<std::mutex> lock(mutex_);
  if (n <= 0 || stop_) {
    desktopClosed_ = true;
    changed_.notify_all();
    return false;
  }
  received_.append(buffer, static_cast<size_t>(n));
  while (received_.size() >= parsePos_ + 8) {
    const uint32_t length = GetLe32(received_, parsePos_ + 4);
    if (received_.size() < parsePos_ + 8 + length) break;
    frames_.push_back({GetLe32(received_, parsePos_), received_.substr(parsePos_ + 8, length)});
    parsePos_ += 8 + length;
  }
  changed_.notify_all();
  return true;
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

}  // namespace fake
