// Random and mutated frame streams through ReadMessage over a real loopback
// socket: every stream must be read exactly as the frame layout says, and a
// broken one must end the link rather than crash it or claim unbounded memory.
#include <gtest/gtest.h>

#include <random>

#include "link/core/frame_header.h"
#include "link/link_reader.h"
#include "tests/link/core/reference_frame_reading.h"
#include "tests/link/fake_phone.h"

using fake::FakePhone;

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
    ASSERT_NO_FATAL_FAILURE(ExpectReadsLikeReference(
        stream, [&reader] { return reader.ReadMessage(); }, round));
  }
}
