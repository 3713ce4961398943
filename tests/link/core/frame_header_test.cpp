#include "link/core/frame_header.h"

#include <gtest/gtest.h>

#include <vector>

using namespace link_wire;

namespace {

std::vector<uint8_t> Encode(uint16_t type, int32_t length) {
  std::vector<uint8_t> out(kFrameHeaderSize, 0xCC);
  EncodeFrameHeader(type, length, out.data());
  return out;
}

}  // namespace

TEST(FrameHeaderTest, EncodesTypeAndLengthLittleEndian) {
  EXPECT_EQ(Encode(5, 0), (std::vector<uint8_t>{0x05, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Encode(1, 1000), (std::vector<uint8_t>{0x01, 0, 0, 0, 0xE8, 0x03, 0, 0}));
  EXPECT_EQ(Encode(4, 0x01020304), (std::vector<uint8_t>{0x04, 0, 0, 0, 0x04, 0x03, 0x02, 0x01}));
  // The 16-bit type sits in the low half; the high half is zero.
  EXPECT_EQ(Encode(0xABCD, 7), (std::vector<uint8_t>{0xCD, 0xAB, 0, 0, 7, 0, 0, 0}));
  EXPECT_EQ(Encode(3, -1), (std::vector<uint8_t>{3, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(FrameHeaderTest, DecodeKeepsFullTypeWordAndSignedLength) {
  const uint8_t bytes[8] = {0x01, 0x00, 0x02, 0x00, 0xFE, 0xFF, 0xFF, 0xFF};
  const FrameHeader h = DecodeFrameHeader(bytes);
  EXPECT_EQ(h.type, 0x00020001u);
  EXPECT_EQ(h.length, -2);

  const uint8_t big[8] = {4, 0, 0, 0, 0x00, 0x00, 0x00, 0x80};
  EXPECT_EQ(DecodeFrameHeader(big).length, INT32_MIN);
}

TEST(FrameHeaderTest, RoundTripsEveryLengthClass) {
  for (int32_t length :
       {0, 1, 255, 65536, kMaxFramePayload, kMaxFramePayload + 1, INT32_MAX, -1, INT32_MIN}) {
    const std::vector<uint8_t> bytes = Encode(4, length);
    const FrameHeader h = DecodeFrameHeader(bytes.data());
    EXPECT_EQ(h.type, 4u);
    EXPECT_EQ(h.length, length);
  }
}

TEST(FrameHeaderTest, AcceptsLengthsFromZeroToTheBound) {
  EXPECT_TRUE(IsAcceptablePayloadLength(0));
  EXPECT_TRUE(IsAcceptablePayloadLength(65536));
  EXPECT_TRUE(IsAcceptablePayloadLength(kMaxFramePayload));
  EXPECT_FALSE(IsAcceptablePayloadLength(kMaxFramePayload + 1));
  EXPECT_FALSE(IsAcceptablePayloadLength(INT32_MAX));
  EXPECT_FALSE(IsAcceptablePayloadLength(-1));
  EXPECT_FALSE(IsAcceptablePayloadLength(INT32_MIN));
}

TEST(FrameHeaderTest, MagicIsFiveAsciiBytes) {
  EXPECT_EQ(std::string(kMagic, kMagicSize), "LNK10");
  EXPECT_EQ(kLinkPort, 8984);
}
