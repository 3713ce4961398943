#include "link/core/frame_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/core/frame_header.h"
#include "tests/link/core/memory_channel.h"
#include "tests/support/fuzz_input.h"

namespace {

// Records the largest single receive asked for: the bound on what one frame
// can make the reader allocate.
class RecordingChannel : public MemoryChannel {
 public:
  using MemoryChannel::MemoryChannel;
  int Recv(void* buffer, int n) override {
    largestRequest = std::max(largestRequest, n);
    return MemoryChannel::Recv(buffer, n);
  }
  int largestRequest = 0;
};

}  // namespace

// Every type is read the same way; only the low 16 bits of the type word count.
TEST(FrameReaderTest, ReadsEveryTypeWithPayload) {
  MemoryChannel ch(Frame(1, "h264") + Frame(3, std::string(300, 'b')) + Frame(4, "<a/>") + Frame(5, "") +
                   Frame(0x1234004D, "??"));
  const std::vector<std::pair<uint16_t, std::string>> expected = {
      {1, "h264"}, {3, std::string(300, 'b')}, {4, "<a/>"}, {5, ""}, {77, "??"}};
  for (const auto& e : expected) EXPECT_TRUE(IsMessage(ReadFrame(ch), e.first, e.second));
  EXPECT_FALSE(ReadFrame(ch));  // the peer has closed
}

TEST(FrameReaderTest, PayloadCutShortYieldsMessageWithoutPayloadThenFailure) {
  MemoryChannel ch(Frame(1, std::string(1000, 'v')).substr(0, 8 + 600));
  EXPECT_TRUE(IsMessage(ReadFrame(ch), 1, ""));
  EXPECT_FALSE(ReadFrame(ch));
}

TEST(FrameReaderTest, NegativeAndOversizeLengthsFailWithoutAllocating) {
  for (uint32_t length :
       {0xFFFFFFFFu, 0x80000000u, static_cast<uint32_t>(link_wire::kMaxFramePayload) + 1, 0x7FFFFFFFu}) {
    RecordingChannel ch(Le32(1) + Le32(length) + "some bytes");
    EXPECT_FALSE(ReadFrame(ch)) << length;
    EXPECT_EQ(ch.consumed(), 8u);
    EXPECT_EQ(ch.largestRequest, 8);  // the header alone was asked for
  }
}

TEST(FrameReaderTest, LengthAtTheBoundIsRead) {
  const std::string payload(link_wire::kMaxFramePayload, 'z');
  MemoryChannel ch(Frame(1, payload));
  auto m = ReadFrame(ch);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->length, link_wire::kMaxFramePayload);
  EXPECT_EQ(m->data[link_wire::kMaxFramePayload - 1], 'z');
}

// Random and mutated streams: no read asks for more than the bound, every message is whole or empty, and
// the reading ends.
TEST(FrameReaderTest, FuzzRandomAndMutatedStreamsStayBounded) {
  FuzzInput fuzz(20261205);
  for (int round = 0; round < 3000; ++round) {
    std::string stream;
    const int frames = 1 + static_cast<int>(fuzz.Below(6));
    for (int f = 0; f < frames; ++f) {
      const uint32_t types[] = {1, 3, 4, 5, 0, 2, 0xFFFF, fuzz.Word()};
      stream += Frame(types[fuzz.Below(8)], fuzz.Bytes(fuzz.Below(700)));
    }
    switch (fuzz.Below(3)) {
      case 0:  // flipped bytes, runs erased or repeated, the tail cut: headers included
        stream = fuzz.Mutate(stream, 1 + static_cast<int>(fuzz.Below(4)));
        break;
      case 1:  // pure noise
        stream = fuzz.Bytes(fuzz.Below(64));
        break;
      default: {  // a length word replaced by an extreme value
        const uint32_t extremes[] = {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 0x01000001u, 0x00FFFFFFu};
        stream.replace(4, 4, Le32(extremes[fuzz.Below(5)]));
      }
    }
    RecordingChannel ch(stream);
    size_t reads = 0;
    for (std::unique_ptr<LinkMessage> m; (m = ReadFrame(ch)) && reads <= stream.size() / 8; ++reads) {
      ASSERT_TRUE(m->length >= 0 && m->length <= link_wire::kMaxFramePayload) << "round " << round;
      ASSERT_EQ(m->data == nullptr, m->length == 0) << "round " << round;
    }
    EXPECT_LE(reads, stream.size() / 8) << "round " << round;
    EXPECT_LE(ch.largestRequest, link_wire::kMaxFramePayload);
  }
}
