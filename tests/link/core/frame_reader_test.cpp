#include "link/core/frame_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "link/core/frame_header.h"
#include "tests/link/core/memory_channel.h"
#include "tests/link/core/reference_frame_reading.h"

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

TEST(FrameReaderTest, ReadsEveryTypeWithPayload) {
  MemoryChannel ch(Frame(1, "h264") + Frame(3, std::string(300, 'b')) + Frame(4, "<a/>") + Frame(5, "") +
                   Frame(77, "??"));
  const std::vector<std::pair<uint16_t, std::string>> expected = {
      {1, "h264"}, {3, std::string(300, 'b')}, {4, "<a/>"}, {5, ""}, {77, "??"}};
  for (const auto& e : expected) EXPECT_TRUE(IsMessage(ReadFrame(ch), e.first, e.second));
  EXPECT_FALSE(ReadFrame(ch));  // the peer has closed
}

TEST(FrameReaderTest, KeepsLowSixteenBitsOfTheTypeWord) {
  MemoryChannel ch(Frame(0x12340004, "x"));
  auto m = ReadFrame(ch);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->type, 4);
  EXPECT_TRUE(m->Is(LinkMessageType::Command));
}

TEST(FrameReaderTest, ShortHeaderIsALinkFailure) {
  for (size_t cut = 0; cut < 8; ++cut) {
    MemoryChannel ch(Frame(1, "abc").substr(0, cut));
    EXPECT_FALSE(ReadFrame(ch)) << cut;
  }
}

TEST(FrameReaderTest, PayloadCutShortYieldsMessageWithoutPayloadThenFailure) {
  MemoryChannel ch(Frame(1, std::string(1000, 'v')).substr(0, 8 + 600));
  auto m = ReadFrame(ch);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->type, 1);
  EXPECT_EQ(m->length, 0);
  EXPECT_EQ(m->data, nullptr);
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

TEST(FrameReaderTest, FuzzRandomAndMutatedStreamsMatchTheReference) {
  std::mt19937 rng(20261205);
  auto randomBytes = [&](size_t n) {
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(rng() & 0xFF);
    return s;
  };
  for (int round = 0; round < 3000; ++round) {
    std::string stream;
    const int frames = 1 + static_cast<int>(rng() % 6);
    for (int f = 0; f < frames; ++f) {
      const uint32_t types[] = {1, 3, 4, 5, 0, 2, 0xFFFF, static_cast<uint32_t>(rng())};
      stream += Frame(types[rng() % 8], randomBytes(rng() % 700));
    }
    switch (rng() % 4) {
      case 0:  // flip a few bytes anywhere, headers included
        for (int i = 0; i < 4; ++i) stream[rng() % stream.size()] ^= static_cast<char>(1 + rng() % 255);
        break;
      case 1:  // cut the stream anywhere
        stream.resize(rng() % (stream.size() + 1));
        break;
      case 2:  // pure noise
        stream = randomBytes(rng() % 64);
        break;
      default:  // a length word replaced by an extreme value
        if (stream.size() >= 8) {
          const uint32_t extremes[] = {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 0x01000001u, 0x00FFFFFFu};
          const std::string w = Le32(extremes[rng() % 5]);
          stream.replace(4, 4, w);
        }
    }
    RecordingChannel ch(stream);
    ASSERT_NO_FATAL_FAILURE(ExpectReadsLikeReference(
        stream, [&ch] { return ReadFrame(ch); }, round));
    EXPECT_LE(ch.largestRequest, link_wire::kMaxFramePayload);
    EXPECT_LE(ch.consumed(), stream.size());
  }
}
