#include "video/core/access_unit_scan.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/fuzz_input.h"

namespace {

struct ScanCase {
  const char* name;
  std::vector<uint8_t> bytes;
  bool begins;
  int pictures;
  bool key_frame;
};

// Headers: 09 delimiter, 67 SPS, 68 PPS, 65 IDR slice, 41 slice. After a
// slice header byte, 0x88 / 0x9A start with the bit 1 (first_mb_in_slice 0),
// 0x40 with 0 (a later slice of the same picture).
const ScanCase kScanCases[] = {
    {"delimiter first", {0, 0, 0, 1, 0x09, 0xF0, 0, 0, 1, 0x41, 0x9A, 0x11}, true, 1, false},
    {"parameter sets first",
     {0, 0, 0, 1, 0x67, 0x42, 0, 0, 1, 0x68, 0xCE, 0, 0, 1, 0x65, 0x88, 0x84},
     true,
     1,
     true},
    {"first slice, three-byte start code", {0, 0, 1, 0x65, 0x88, 0x84}, true, 1, true},
    {"a later slice of a picture", {0, 0, 1, 0x41, 0x40, 0x11, 0, 0, 1, 0x41, 0x40}, false, 0, false},
    {"no start code", {0x12, 0x34, 0, 0, 0x05, 0x41, 0x9A}, false, 0, false},
    {"start code after other bytes", {0xAA, 0, 0, 1, 0x09, 0xF0, 0, 0, 1, 0x41, 0x9A}, false, 1, false},
    {"header cut off", {0, 0, 0, 1}, false, 0, false},
    {"slice header cut off", {0, 0, 1, 0x41}, false, 0, false},
    {"two pictures",
     {0, 0, 1, 0x09, 0xF0, 0, 0, 1, 0x41, 0x9A, 0, 0, 1, 0x09, 0xF0, 0, 0, 1, 0x41, 0x9A},
     true,
     2,
     false},
};

TEST(ScanAccessUnits, FindsWhereAccessUnitsAndPicturesBegin) {
  for (const ScanCase& c : kScanCases) {
    SCOPED_TRACE(c.name);
    const AccessUnitScan scan = ScanAccessUnits(c.bytes.data(), c.bytes.size());
    EXPECT_EQ(scan.beginsAccessUnit, c.begins);
    EXPECT_EQ(scan.picturesStarted, c.pictures);
    EXPECT_EQ(scan.keyFrameStarted, c.key_frame);
  }
}

// Start codes, NAL headers and random bytes strung together and cut off
// anywhere: every byte read is one of the piece's (the sanitizer watches each
// exactly sized buffer).
TEST(ScanAccessUnits, StaysInsideRandomPieces) {
  const std::string kTokens[] = {std::string("\0\0\1", 3),
                                 std::string("\0\0\0\1", 4),
                                 "\x09\xF0",
                                 "\x65\x88",
                                 "\x41\x9A",
                                 "\x41\x40",
                                 "\x88"};
  FuzzInput fuzz(11);
  int planted = 0;
  for (int round = 0; round < 2000; ++round) {
    const size_t length = fuzz.Below(40);
    std::string text;
    while (text.size() < length) text += fuzz.Below(4) ? kTokens[fuzz.Below(7)] : fuzz.Bytes(1);
    const std::vector<uint8_t> piece(text.begin(), text.begin() + length);
    const AccessUnitScan scan = ScanAccessUnits(piece.empty() ? nullptr : piece.data(), piece.size());
    planted += scan.picturesStarted;
  }
  EXPECT_GT(planted, 500) << "the pieces hardly hold pictures";
}

}  // namespace
