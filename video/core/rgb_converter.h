// Converts decoded pictures to packed RGB24 (rows of exactly width x 3
// bytes, the layout the frame buffer reads). The converter and the RGB
// picture are built at the first picture and kept while the size and pixel
// format stay the same; a change rebuilds both before the next conversion.
//
// libswscale's SIMD paths write whole blocks of pixels per step, so a row
// whose width is not a multiple of the block is overrun by part of a block.
// Rows are packed, so that lands in the next row and is overwritten by it,
// except after the last row: the pixel buffer carries slack there, and guard
// bytes after the slack are checked after every conversion. A damaged guard
// means the converter wrote past what it was given: the picture is not
// delivered and the damage is counted.
#pragma once
#include <cstdint>

#include "video/core/ffmpeg_owners.h"

class RgbConverter {
 public:
  // Room after the last row for a block of up to 64 pixels.
  static constexpr int kTailSlack = 64 * 3;
  static constexpr int kGuardSize = 32;

  // The packed RGB24 picture of `decoded`, valid until the next call; null
  // when no converter can be made for it or the conversion overran.
  const AVFrame* Convert(const AVFrame* decoded);

  // How often the converter and RGB picture were (re)built.
  int Builds() const { return builds_; }
  // Conversions that wrote past the slack after the last row.
  int Overruns() const { return overruns_; }

 private:
  bool Prepare(const AVFrame* decoded);
  bool GuardIntact() const;

  ScalerOwner scaler_;
  FrameOwner rgb_;
  AvMemoryOwner pixels_;  // the picture, then kTailSlack bytes, then the guard
  int pictureBytes_ = 0;
  int width_ = 0, height_ = 0, format_ = -1;
  int builds_ = 0;
  int overruns_ = 0;
};
