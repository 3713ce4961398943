#include "tools/phone_simulator/link_session.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "link/core/frame_header.h"
#include "link/core/link_message.h"

namespace phone_sim {
namespace {

// A desktop sends a heartbeat every 2 s; this much silence means it is gone
// (or hung) and the next desktop should get its turn.
constexpr int kDesktopSilenceLimitS = 30;
constexpr char kWrongMagic[] = "LNK99";

}  // namespace

LinkSession::LinkSession(UniqueFd socket, const SimulatorOptions& options, EventLog& log,
                         std::function<void()> on_finished)
    : socket_(std::move(socket)), options_(options), log_(log), on_finished_(std::move(on_finished)) {
  if (PanelEnabled(options)) panel_ = std::make_unique<PanelModel>();
}

LinkSession::~LinkSession() {
  Stop();
  Join();
}

void LinkSession::Start() {
  session_thread_ = std::thread(&LinkSession::SessionThread, this);
}

void LinkSession::Stop() {
  SetEndReason("simulator stopping");
  {
    std::lock_guard<std::mutex> lock(wait_mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  Shutdown();
}

void LinkSession::Join() {
  if (session_thread_.joinable()) session_thread_.join();
}

void LinkSession::Shutdown() {
  // shutdown, not close: the descriptor stays valid for any thread still in a
  // call on it; recv/send there return at once. Closed by the destructor.
  if (!shut_down_.exchange(true)) ::shutdown(socket_.get(), SHUT_RDWR);
}

void LinkSession::SetEndReason(const std::string& reason) {
  std::lock_guard<std::mutex> lock(reason_mutex_);
  if (end_reason_.empty()) end_reason_ = reason;
}

bool LinkSession::WaitUntil(Clock::time_point deadline) {
  std::unique_lock<std::mutex> lock(wait_mutex_);
  if (deadline == Clock::time_point::max())  // nothing scheduled: no overflowing time-out
    wake_.wait(lock, [this] { return stopping_.load(); });
  else
    wake_.wait_until(lock, deadline, [this] { return stopping_.load(); });
  return !stopping_;
}

void LinkSession::WaitForStop() {
  std::unique_lock<std::mutex> lock(wait_mutex_);
  wake_.wait(lock, [this] { return stopping_.load(); });
}

bool LinkSession::SendFrame(uint16_t type, const uint8_t* payload, size_t length) {
  if (!greeted_ || stopping_ || shut_down_) return false;
  uint8_t header[link_wire::kFrameHeaderSize];
  link_wire::EncodeFrameHeader(type, static_cast<int32_t>(length), header);
  std::lock_guard<std::mutex> lock(send_mutex_);
  if (SendAll(socket_.get(), header, sizeof header) &&
      (length == 0 || SendAll(socket_.get(), payload, length)))
    return true;
  SetEndReason("send failed");
  Shutdown();
  return false;
}

bool LinkSession::SendCommand(const std::string& utf8_xml) {
  if (!SendFrame(static_cast<uint16_t>(LinkMessageType::Command),
                 reinterpret_cast<const uint8_t*>(utf8_xml.data()), utf8_xml.size()))
    return false;
  log_.Line("sent command " + EventLog::OneLine(utf8_xml));
  return true;
}

bool LinkSession::SendBlob(const std::string& name, const std::vector<uint8_t>& data) {
  constexpr size_t kNameField = 255;
  std::vector<uint8_t> payload(kNameField, 0);
  std::memcpy(payload.data(), name.data(), std::min(name.size(), kNameField));
  payload.insert(payload.end(), data.begin(), data.end());
  if (!SendFrame(static_cast<uint16_t>(LinkMessageType::Blob), payload.data(), payload.size())) return false;
  log_.Line("sent blob name=" + EventLog::OneLine(name) + " length=" + std::to_string(payload.size()));
  return true;
}

bool LinkSession::SendBlobFile(const std::string& name, const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    log_.Line("error cannot read " + path);
    return false;
  }
  std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (data.size() > static_cast<size_t>(link_wire::kMaxFramePayload) - 255) {
    log_.Line("error blob too large: " + path);
    return false;
  }
  return SendBlob(name, data);
}

void LinkSession::SendCommands() {
  for (const std::string& command : options_.commands)
    if (!SendCommand(command)) return;
}

void LinkSession::HandleCommand(const std::string& utf8) {
  log_.Line("command " + EventLog::OneLine(utf8));
  if (!panel_) return;
  std::string account;
  const std::vector<std::string> answers = panel_->Answer(utf8, &account);
  log_.Line("panel " + EventLog::OneLine(account));
  for (const std::string& answer : answers)
    if (!SendCommand(answer)) return;
}

std::string LinkSession::ConfigXml() const {
  if (options_.custom_config) return options_.config_xml;
  return "<config><reverse_v>" + std::to_string(options_.reverse_v) + "</reverse_v><reverse_h>" +
         std::to_string(options_.reverse_h) + "</reverse_h></config>";
}

void LinkSession::SessionThread() {
  log_.Line("connected peer=" + PeerName(socket_.get()));
  timeval limit{kDesktopSilenceLimitS, 0};
  ::setsockopt(socket_.get(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  int one = 1;
  ::setsockopt(socket_.get(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  if (Handshake()) {
    video_thread_ = std::thread(&LinkSession::VideoThread, this);
    ReadLoop();
    {
      std::lock_guard<std::mutex> lock(wait_mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    video_thread_.join();
  }
  Shutdown();
  std::string reason;
  {
    std::lock_guard<std::mutex> lock(reason_mutex_);
    reason = end_reason_;
  }
  log_.Line("disconnected reason=" + reason);
  if (on_finished_) on_finished_();
}

// The phone's side of the greeting: magic in, magic out, our configuration
// block out, the desktop's (empty) configuration block in.
bool LinkSession::Handshake() {
  std::string error;
  char magic[link_wire::kMagicSize];
  if (RecvExact(socket_.get(), magic, sizeof magic, &error) != sizeof magic) {
    SetEndReason("greeting: " + error);
    return false;
  }
  if (std::memcmp(magic, link_wire::kMagic, link_wire::kMagicSize) != 0) {
    log_.Line("greeting magic=bad");
    SetEndReason("bad magic from desktop");
    return false;
  }
  log_.Line("greeting magic=ok");
  std::string config = ConfigXml();
  std::vector<uint8_t> reply(link_wire::kMagicSize + 4 + config.size());
  std::memcpy(reply.data(), options_.wrong_magic ? kWrongMagic : link_wire::kMagic, link_wire::kMagicSize);
  link_wire::PutLe32(&reply[link_wire::kMagicSize], static_cast<uint32_t>(config.size()));
  std::memcpy(reply.data() + link_wire::kMagicSize + 4, config.data(), config.size());
  {
    std::lock_guard<std::mutex> lock(send_mutex_);
    if (!SendAll(socket_.get(), reply.data(), reply.size())) {
      SetEndReason("send failed");
      return false;
    }
  }
  if (options_.wrong_magic) log_.Line("fault wrong-magic");
  log_.Line("handshake config_length=" + std::to_string(config.size()));
  uint8_t length_bytes[4];
  if (RecvExact(socket_.get(), length_bytes, 4, &error) != 4) {
    SetEndReason("desktop configuration: " + error);
    return false;
  }
  int32_t length = static_cast<int32_t>(link_wire::GetLe32(length_bytes));
  if (length > link_wire::kMaxConfigLength) {
    SetEndReason("desktop configuration too long: " + std::to_string(length));
    return false;
  }
  std::string text;
  if (length > 0) {
    text.resize(static_cast<size_t>(length));
    if (RecvExact(socket_.get(), &text[0], text.size(), &error) != text.size()) {
      SetEndReason("desktop configuration: " + error);
      return false;
    }
  }
  // Open for frames before the line is printed: whoever reacts to the line
  // (a test, a script feeding --stdin-commands) may send at once.
  greeted_ = true;
  log_.Line("desktop_config length=" + std::to_string(length) +
            (text.empty() ? "" : " " + EventLog::OneLine(text)));
  return true;
}

void LinkSession::ReadLoop() {
  std::string error;
  std::vector<uint8_t> payload;
  for (;;) {
    uint8_t header_bytes[link_wire::kFrameHeaderSize];
    if (RecvExact(socket_.get(), header_bytes, sizeof header_bytes, &error) != sizeof header_bytes) {
      SetEndReason(error);
      return;
    }
    link_wire::FrameHeader header = link_wire::DecodeFrameHeader(header_bytes);
    uint16_t type = static_cast<uint16_t>(header.type & 0xFFFF);
    if (!link_wire::IsAcceptablePayloadLength(header.length)) {
      log_.Line("message type=" + std::to_string(type) + " length=" + std::to_string(header.length));
      SetEndReason("unacceptable length " + std::to_string(header.length));
      return;
    }
    payload.resize(static_cast<size_t>(header.length));
    if (header.length > 0 &&
        RecvExact(socket_.get(), payload.data(), payload.size(), &error) != payload.size()) {
      SetEndReason("inside a frame: " + error);
      return;
    }
    if (type == static_cast<uint16_t>(LinkMessageType::Heartbeat) && header.length == 0) {
      log_.Line("heartbeat");
    } else if (type == static_cast<uint16_t>(LinkMessageType::Command)) {
      HandleCommand(std::string(payload.begin(), payload.end()));
    } else {
      log_.Line("message type=" + std::to_string(type) + " length=" + std::to_string(header.length));
    }
  }
}

}  // namespace phone_sim
