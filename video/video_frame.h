// One output picture: a 24-bit bottom-up DIB section in blue, green, red order.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>

#include "framework/gdi.h"

class VideoFrame {
 public:
  // A DIB section of width x height (positive height: bottom-up rows, each
  // padded to a multiple of 4 bytes); null when GDI cannot make one.
  static std::unique_ptr<VideoFrame> Create(int width, int height);

  VideoFrame(const VideoFrame&) = delete;
  VideoFrame& operator=(const VideoFrame&) = delete;

  HBITMAP bitmap() const { return bitmap_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  // Pixel memory of the DIB section; the first row is the bottom row.
  uint8_t* bits() const { return bits_; }
  // Bytes from one row to the next (width x 3 rounded up to a multiple of 4).
  int stride() const;
  // width x height x 3: the pixel bytes (rows need no padding at the output
  // widths 1280 and 720).
  int size() const { return width_ * height_ * 3; }

  // The same picture at the size the preview shows it, made with the frame
  // so that the preview copies instead of stretching; null when none was
  // made. It goes with the frame when the frame is recycled.
  const VideoFrame* preview() const { return preview_.get(); }
  VideoFrame* preview() { return preview_.get(); }
  void SetPreview(std::unique_ptr<VideoFrame> preview) { preview_ = std::move(preview); }

 private:
  VideoFrame(BitmapHandle bitmap, int width, int height, uint8_t* bits)
      : bitmap_(std::move(bitmap)), width_(width), height_(height), bits_(bits) {}
  BitmapHandle bitmap_;  // freed with DeleteObject with the frame
  int width_;
  int height_;
  uint8_t* bits_;
  std::unique_ptr<VideoFrame> preview_;
};
