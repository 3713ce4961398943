#include "link/link_reader.h"

#include <cstring>
#include <vector>

#include "config/core/app_messages.h"
#include "link/command_text.h"
#include "link/core/blob_payload.h"
#include "link/core/frame_header.h"
#include "link/core/frame_reader.h"
#include "link/core/greeting.h"
#include "link/dui_resource_store.h"

CurrentLinkReader LinkReader::Current;

int CurrentLinkReader::WriteMessage(const LinkMessage& message) {
  ScopedLock lock(lock_);
  LinkReader* reader = reader_.load();
  return reader ? reader->WriteMessage(message) : 0;
}

int CurrentLinkReader::WriteMessage(LinkMessageType type, const void* payload, int32_t length) {
  ScopedLock lock(lock_);
  LinkReader* reader = reader_.load();
  return reader ? reader->WriteMessage(type, payload, length) : 0;
}

void CurrentLinkReader::Set(LinkReader* reader) {
  ScopedLock lock(lock_);
  reader_.store(reader);
}

void CurrentLinkReader::ResetIf(LinkReader* reader) {
  ScopedLock lock(lock_);
  if (reader_.load() == reader) reader_.store(nullptr);
}

LinkReader::LinkReader(HWND commandWindow, const LinkCancel* cancel)
    : DeviceConnection(cancel),
      commandWindow_(commandWindow),
      heartbeatStop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
  Current.Set(this);
}

LinkReader::~LinkReader() {
  Current.ResetIf(this);
  Close();
  heartbeatThread_.Join();
}

void LinkReader::Close() {
  StopHeartbeat();
  DeviceConnection::Close();
}

void LinkReader::StopHeartbeat() {
  if (heartbeatStop_) SetEvent(heartbeatStop_.get());
}

void LinkReader::GetReverseFlags(int* reverseV, int* reverseH) const {
  if (reverseV) *reverseV = config_.reverseV;
  if (reverseH) *reverseH = config_.reverseH;
}

bool LinkReader::Handshake() {
  if (!RunDesktopGreeting(*this, &config_)) return false;
  // One reader serves one connection, but a second greeting on the same
  // object must not leave two heartbeat threads: end the earlier one first.
  if (heartbeatThread_.handle()) {
    StopHeartbeat();
    heartbeatThread_.Join();
  }
  if (!heartbeatStop_) return false;
  ResetEvent(heartbeatStop_.get());
  return heartbeatThread_.Start([this] { HeartbeatLoop(); });
}

// Heartbeats go out 2 s after the greeting and then every 2 s, timed against
// the tick count so that a coarse timer does not stretch the interval. The
// thread ends as soon as Close sets the stop event. A failed heartbeat is not
// reported: a dead link shows up on the reading side.
void LinkReader::HeartbeatLoop() {
  ULONGLONG next = GetTickCount64() + kHeartbeatIntervalMs;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    const DWORD wait = next > now ? static_cast<DWORD>(next - now) : 0;
    if (WaitForSingleObject(heartbeatStop_.get(), wait) != WAIT_TIMEOUT) return;
    if (IsConnected()) WriteFrame(static_cast<uint16_t>(LinkMessageType::Heartbeat), nullptr, 0);
    next += kHeartbeatIntervalMs;
  }
}

std::unique_ptr<LinkMessage> LinkReader::ReadMessage() {
  std::unique_ptr<LinkMessage> message = ReadFrame(*this);
  if (!message || message->length == 0) return message;
  if (message->Is(LinkMessageType::Command)) {
    DeliverCommand(*message);
  } else if (message->Is(LinkMessageType::Blob)) {
    StoreBlob(*message);
  }
  return message;
}

void LinkReader::DeliverCommand(const LinkMessage& message) {
  if (!commandWindow_) return;
  const std::string text = CommandPayloadToAnsi(message.data.get(), message.length);
  SendMessageA(commandWindow_, WM_LINK_COMMAND, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void LinkReader::StoreBlob(const LinkMessage& message) {
  link_wire::BlobView blob;
  if (!link_wire::SplitBlobPayload(message.data.get(), message.length, &blob)) return;  // too short: dropped
  std::unique_ptr<uint8_t[]> copy;
  if (blob.size) {
    copy.reset(new uint8_t[blob.size]);
    std::memcpy(copy.get(), blob.data, blob.size);
  }
  DUIResourceStore::Instance().StoreResource(blob.name, std::move(copy), blob.size);
}

int LinkReader::WriteMessage(const LinkMessage& message) {
  return WriteMessage(static_cast<LinkMessageType>(message.type), message.data.get(), message.length);
}

int LinkReader::WriteMessage(LinkMessageType type, const void* payload, int32_t length) {
  if (!IsConnected()) return 0;
  return WriteFrame(static_cast<uint16_t>(type), payload, length);
}

int LinkReader::WriteFrame(uint16_t type, const void* payload, int32_t length) {
  if (length < 0 || (length > 0 && !payload)) return 0;
  uint8_t header[link_wire::kFrameHeaderSize];
  link_wire::EncodeFrameHeader(type, length, header);
  ScopedLock whole(messageLock_);
  if (Send(header, link_wire::kFrameHeaderSize) != link_wire::kFrameHeaderSize) return 0;
  // A zero-length payload counts as sent (Send of 0 bytes returns 0).
  return Send(payload, length) == length ? 1 : 0;
}
