// A quick look at one piece of an H.264 byte stream (Annex B): does it open
// an access unit, and how many pictures start inside it? The decoder uses the
// answer to learn whether the phone sends exactly one picture per Video
// message, in which case it need not wait for the next picture to begin.
// No decoding: one linear pass over the start codes and the first bits after
// each NAL unit header, without allocation.
#pragma once
#include <cstddef>
#include <cstdint>

struct AccessUnitScan {
  // The piece opens with a start code (00 00 01 or 00 00 00 01) whose NAL
  // unit can only come first in an access unit: a delimiter, parameter sets,
  // SEI, or the first slice of a picture.
  bool beginsAccessUnit = false;
  // Slices whose first_mb_in_slice is 0: the pictures that start in the piece.
  int picturesStarted = 0;
  // One of those is a key frame (an IDR picture): decoding can start there.
  bool keyFrameStarted = false;
};

AccessUnitScan ScanAccessUnits(const uint8_t* data, size_t length);
