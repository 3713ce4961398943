// Random and mutated frame streams through ReadMessage over a real loopback
// socket: every stream must be read exactly as the frame layout says, and a
// broken one must end the link rather than crash it or claim unbounded memory.
#include <gtest/gtest.h>

#include <random>

#include "fake_phone.h"
#include "frame_header.h"
#include "link_reader.h"

using fake::FakePhone;

namespace {

struct Expected {
  bool ok;
  uint16_t type;
  std::string payload;
};

uint32_t Word(const std::string& s, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(s[at + i]);
  return v;
}

// What successive ReadMessage calls return for a stream that the phone closes
// after its last byte, written from the frame layout alone.
std::vector<Expected> ReferenceRead(const std::string& s) {
  std::vector<Expected> out;
  size_t pos = 0;
  for (;;) {
    if (s.size() - pos < 8) break;
    const uint32_t type = Word(s, pos);
    const int32_t length = static_cast<int32_t>(Word(s, pos + 4));
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

}  // namespace

TEST(LinkReaderFuzzTest, RandomAndMutatedStreamsOverLoopback) {
  std::mt19937 rng(8984);
  auto bytes = [&](size_t n) {
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(rng() & 0xFF);
    return s;
  };
  for (int round = 0; round < 120; ++round) {
    std::string stream;
    const int frames = 1 + static_cast<int>(rng() % 5);
    for (int i = 0; i < frames; ++i) {
      // Video, unknown and heartbeat types; Blob and Command have their own tests.
      const uint32_t types[] = {1, 1, 5, 0, 2, 0x10001, static_cast<uint32_t>(rng()) | 0x100};
      uint32_t type = types[rng() % 7];
      if ((type & 0xFFFF) == 3 || (type & 0xFFFF) == 4) type = 1;
      stream += fake::Frame(type, bytes(rng() % 3000));
    }
    switch (rng() % 4) {
      case 0:
        for (int i = 0; i < 3; ++i) stream[rng() % stream.size()] ^= static_cast<char>(1 + rng() % 255);
        break;
      case 1:
        stream.resize(rng() % (stream.size() + 1));
        break;
      case 2:
        stream = bytes(rng() % 40);
        break;
      default: {
        const uint32_t extremes[] = {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 0x01000001u};
        if (stream.size() >= 8) stream.replace(4, 4, fake::Le32(extremes[rng() % 4]));
      }
    }
    // Mutations may have turned a type into Blob or Command; both are read the
    // same way, and their side effects are bounded by the payload.
    FakePhone phone;
    phone.AnswerGreeting().Send(stream).CloseConnection();
    ASSERT_TRUE(phone.Start());
    LinkReader reader;
    ASSERT_EQ(reader.ConnectLoopback(phone.port()), 1);
    const std::vector<Expected> expected = ReferenceRead(stream);
    for (size_t i = 0; i < expected.size(); ++i) {
      std::unique_ptr<LinkMessage> m = reader.ReadMessage();
      ASSERT_EQ(static_cast<bool>(m), expected[i].ok) << "round " << round << " message " << i;
      if (!m) break;
      EXPECT_EQ(m->type, expected[i].type);
      EXPECT_EQ(m->length, static_cast<int32_t>(expected[i].payload.size()));
      const std::string got = m->data ? std::string(reinterpret_cast<char*>(m->data.get()), m->length) : "";
      EXPECT_TRUE(got == expected[i].payload) << "round " << round << " message " << i;
    }
  }
}
