// A ByteChannel over memory for the portable link tests: serves scripted
// input bytes like a peer that closes after them, and records what is sent.
// With it, frame bytes built independently of the code under test and a
// check of a read message.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "link/core/byte_channel.h"
#include "link/core/link_message.h"
#include "tests/support/wire_bytes.h"

class MemoryChannel : public ByteChannel {
 public:
  explicit MemoryChannel(std::string input = {}) : input_(std::move(input)) {}

  // Sends fail (return -1) once this many bytes have been sent.
  void FailSendsAfter(size_t bytes) { sendLimit_ = bytes; }

  int Send(const void* buffer, int n) override {
    if (n < 1) return 0;
    if (sent_.size() + static_cast<size_t>(n) > sendLimit_) return -1;
    sent_.append(static_cast<const char*>(buffer), static_cast<size_t>(n));
    return n;
  }

  // Like a TCP peer that closed after its input: a short count, then 0.
  int Recv(void* buffer, int n) override {
    if (n < 1) return 0;
    const size_t take = std::min(static_cast<size_t>(n), input_.size() - offset_);
    if (take) std::memcpy(buffer, input_.data() + offset_, take);
    offset_ += take;
    return static_cast<int>(take);
  }

  const std::string& sent() const { return sent_; }
  size_t consumed() const { return offset_; }

 private:
  std::string input_;
  size_t offset_ = 0;
  std::string sent_;
  size_t sendLimit_ = SIZE_MAX;
};


inline std::string PayloadOf(const LinkMessage& m) {
  return m.data ? std::string(reinterpret_cast<const char*>(m.data.get()), m.length) : std::string();
}

// `m` is a message of `type` holding exactly `payload`, with no buffer when
// the payload is empty. Payloads run to megabytes, so a failure prints only
// their first bytes.
inline ::testing::AssertionResult IsMessage(const std::unique_ptr<LinkMessage>& m, uint16_t type,
                                            const std::string& payload) {
  if (!m) return ::testing::AssertionFailure() << "no message where type " << type << " was due";
  if (m->type != type || m->length != static_cast<int32_t>(payload.size()) || PayloadOf(*m) != payload ||
      (m->data == nullptr) != payload.empty())
    return ::testing::AssertionFailure()
           << "type " << m->type << " length " << m->length << " payload \"" << PayloadOf(*m).substr(0, 40)
           << "\" (buffer " << (m->data ? "present" : "absent") << "), expected type " << type
           << " payload \"" << payload.substr(0, 40) << "\"";
  return ::testing::AssertionSuccess();
}
