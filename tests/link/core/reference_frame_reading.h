// How a stream of link frames must read, worked out from the frame layout
// alone (type and length as 32-bit little-endian words, then the payload)
// and independent of the reader under test. Shared by the portable frame
// reader tests and the loopback LinkReader tests.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/core/frame_header.h"
#include "link/core/link_message.h"

struct ExpectedMessage {
  bool ok;
  uint16_t type;
  std::string payload;
};

// What successive reads return for `s` from a peer that closes after its
// last byte: each whole frame; for a frame cut short its type with an empty
// payload; then one failed read. A length outside 0..kMaxFramePayload, or
// fewer than 8 bytes left, ends the reading at once.
inline std::vector<ExpectedMessage> ReferenceRead(const std::string& s) {
  auto word = [&s](size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(s[at + i]);
    return v;
  };
  std::vector<ExpectedMessage> out;
  size_t pos = 0;
  while (s.size() - pos >= 8) {
    const uint32_t type = word(pos);
    const int32_t length = static_cast<int32_t>(word(pos + 4));
    pos += 8;
    if (length < 0 || length > link_wire::kMaxFramePayload) break;
    if (s.size() - pos < static_cast<size_t>(length)) {
      out.push_back({true, static_cast<uint16_t>(type), {}});
      break;
    }
    out.push_back({true, static_cast<uint16_t>(type), s.substr(pos, length)});
    pos += length;
  }
  out.push_back({false, 0, {}});
  return out;
}

inline std::string PayloadOf(const LinkMessage& m) {
  return m.data ? std::string(reinterpret_cast<const char*>(m.data.get()), m.length) : std::string();
}

// `m` is a message of `type` holding exactly `payload`, with no buffer when
// the payload is empty.
inline ::testing::AssertionResult IsMessage(const std::unique_ptr<LinkMessage>& m, uint16_t type,
                                            const std::string& payload) {
  if (!m) return ::testing::AssertionFailure() << "no message where type " << type << " was due";
  if (m->type != type || m->length != static_cast<int32_t>(payload.size()) || PayloadOf(*m) != payload ||
      (m->data == nullptr) != payload.empty())
    return ::testing::AssertionFailure() << "type " << m->type << " length " << m->length << " payload \""
                                         << PayloadOf(*m) << "\" (buffer " << (m->data ? "present" : "absent")
                                         << "), expected type " << type << " payload \"" << payload << "\"";
  return ::testing::AssertionSuccess();
}

// Calls `read` (returning std::unique_ptr<LinkMessage>) as often as the
// reference says and checks each result; `round` labels failures. Use with
// ASSERT_NO_FATAL_FAILURE: a read that should have failed, or not, is fatal.
template <class Read>
void ExpectReadsLikeReference(const std::string& stream, Read read, int round) {
  const std::vector<ExpectedMessage> expected = ReferenceRead(stream);
  for (size_t i = 0; i < expected.size(); ++i) {
    std::unique_ptr<LinkMessage> m = read();
    ASSERT_EQ(static_cast<bool>(m), expected[i].ok) << "round " << round << " message " << i;
    if (!m) return;
    EXPECT_EQ(m->type, expected[i].type) << "round " << round << " message " << i;
    EXPECT_EQ(m->length, static_cast<int32_t>(expected[i].payload.size()))
        << "round " << round << " message " << i;
    // Compared whole; payloads run to kilobytes, so a failure prints no bytes.
    EXPECT_TRUE(PayloadOf(*m) == expected[i].payload) << "round " << round << " message " << i;
  }
}
