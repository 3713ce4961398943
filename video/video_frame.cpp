#include "video/video_frame.h"

#include "video/core/frame_geometry.h"

std::unique_ptr<VideoFrame> VideoFrame::Create(int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // positive: bottom-up
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return nullptr;
  return std::unique_ptr<VideoFrame>(
      new VideoFrame(std::move(bitmap), width, height, static_cast<uint8_t*>(bits)));
}

int VideoFrame::stride() const {
  return DibStride(width_);
}
