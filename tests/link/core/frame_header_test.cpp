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

// Decoding is checked through the frame reader.
TEST(FrameHeaderTest, EncodesTypeAndLengthLittleEndian) {
  EXPECT_EQ(Encode(5, 0), (std::vector<uint8_t>{0x05, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Encode(1, 1000), (std::vector<uint8_t>{0x01, 0, 0, 0, 0xE8, 0x03, 0, 0}));
  EXPECT_EQ(Encode(4, 0x01020304), (std::vector<uint8_t>{0x04, 0, 0, 0, 0x04, 0x03, 0x02, 0x01}));
  // The 16-bit type sits in the low half; the high half is zero.
  EXPECT_EQ(Encode(0xABCD, 7), (std::vector<uint8_t>{0xCD, 0xAB, 0, 0, 7, 0, 0, 0}));
}
