// Converts decoded pictures to packed 24-bit RGB, in R,G,B order or in the
// B,G,R order of Windows bitmaps (rows of exactly width x 3 bytes, the
// layout the orientation copy reads), scaling a chosen rectangle
// of the picture to a chosen size in the same swscale pass. The converter
// and the RGB picture are built at the first picture and kept while the
// source rectangle's size, the pixel format and the output size stay the
// same; a change rebuilds them before the next conversion.
//
// Scaling uses swscale's bilinear filter, whose downscaling widens to the
// scale factor (every source pixel counts, as with an area average), so a
// 1080p picture shrunk to 720p does not alias. swscale has SIMD code for
// scaled B,G,R output of an even width; R,G,B or an odd width take its
// plain C path, several times slower.
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
#include "video/core/frame_geometry.h"

class RgbConverter {
 public:
  // `output`: AV_PIX_FMT_RGB24 or AV_PIX_FMT_BGR24.
  explicit RgbConverter(AVPixelFormat output = AV_PIX_FMT_RGB24) : output_(output) {}

  // Room after the last row for a block of up to 64 pixels.
  static constexpr int kTailSlack = 64 * 3;
  static constexpr int kGuardSize = 32;

  // The rectangle `crop` of `decoded` scaled to crop.scaledWidth x
  // crop.scaledHeight, packed in the output order, valid until the next call; null when
  // the rectangle does not lie inside the picture, no converter can be made
  // for it or the conversion overran. Chroma planes start at the chroma
  // sample that covers the rectangle's first pixel.
  const AVFrame* Convert(const AVFrame* decoded, const SourceCrop& crop);
  // The whole picture at its own size.
  const AVFrame* Convert(const AVFrame* decoded);
  // The same conversion written straight into the caller's memory: the top
  // row at `firstRow`, each next row `rowStep` bytes on (negative for
  // bottom-up memory), saving the copy out of the converter's picture. Only
  // for widths that are a multiple of kDirectWidthMultiple, where swscale's
  // SIMD blocks end exactly at the end of a row, so nothing is written
  // outside the rows; false for other widths or when the conversion cannot
  // be made.
  static constexpr int kDirectWidthMultiple = 16;
  bool ConvertInto(const AVFrame* decoded, const SourceCrop& crop, uint8_t* firstRow, int rowStep);

  // How often the converter and RGB picture were (re)built.
  int Builds() const { return builds_; }
  // Conversions that wrote past the slack after the last row.
  int Overruns() const { return overruns_; }

 private:
  // Checks the rectangle, offsets the planes to it and (re)builds the scaler.
  bool PrepareFor(const AVFrame* decoded, const SourceCrop& crop, const uint8_t* planes[4]);
  bool Prepare(int format, const SourceCrop& crop);
  // The converter's own picture at the scaler's output size.
  bool EnsurePicture();
  bool GuardIntact() const;

  const AVPixelFormat output_;
  ScalerOwner scaler_;
  FrameOwner rgb_;
  AvMemoryOwner pixels_;  // the picture, then kTailSlack bytes, then the guard
  int pictureBytes_ = 0;
  int srcWidth_ = 0, srcHeight_ = 0, format_ = -1;
  int outWidth_ = 0, outHeight_ = 0;
  int builds_ = 0;
  int overruns_ = 0;
};
