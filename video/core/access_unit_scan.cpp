#include "video/core/access_unit_scan.h"

namespace {

enum NalType : uint8_t {
  kSlice = 1,
  kIdrSlice = 5,
  kSei = 6,
  kSequenceParameters = 7,
  kPictureParameters = 8,
  kDelimiter = 9,
};

}  // namespace

AccessUnitScan ScanAccessUnits(const uint8_t* data, size_t length) {
  AccessUnitScan scan;
  if (!data) return scan;
  size_t zeros = 0;  // zero bytes right before data[i]
  for (size_t i = 0; i < length; ++i) {
    if (data[i] != 1 || zeros < 2) {
      zeros = data[i] == 0 ? zeros + 1 : 0;
      continue;
    }
    // A start code ends at i. Emulation prevention keeps 00 00 01 out of NAL
    // payloads, so every one found is real.
    zeros = 0;
    const size_t header = i + 1;
    if (header >= length) break;
    const uint8_t type = data[header] & 0x1F;
    // first_mb_in_slice is ue(v) coded: the value 0 is the single bit 1.
    const bool firstSlice =
        (type == kSlice || type == kIdrSlice) && header + 1 < length && (data[header + 1] & 0x80) != 0;
    if (firstSlice) {
      ++scan.picturesStarted;
      scan.keyFrameStarted = scan.keyFrameStarted || type == kIdrSlice;
    }
    // Only zeros before the 01, two or three of them: the start code is at offset 0.
    if (i == 2 || (i == 3 && data[0] == 0)) {
      scan.beginsAccessUnit = firstSlice || type == kSei || type == kSequenceParameters ||
                              type == kPictureParameters || type == kDelimiter;
    }
  }
  return scan;
}
