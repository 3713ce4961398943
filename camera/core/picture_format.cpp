#include "camera/core/picture_format.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kMaxSide = 8192;

struct Yuv {
  uint8_t y, u, v;
};

inline uint8_t LumaOf(int r, int g, int b) {
  return static_cast<uint8_t>(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16);
}
inline uint8_t BlueDifference(int r, int g, int b) {
  return static_cast<uint8_t>(((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128);
}
inline uint8_t RedDifference(int r, int g, int b) {
  return static_cast<uint8_t>(((112 * r - 94 * g - 18 * b + 128) >> 8) + 128);
}

// Row `y` (top-down) of a bottom-up BGR picture.
inline const uint8_t* TopDownRow(const uint8_t* bgr, int width, int height, int y) {
  return bgr + static_cast<size_t>(height - 1 - y) * width * 3;
}

void ToYuy2(const uint8_t* bgr, int width, int height, uint8_t* out) {
  for (int y = 0; y < height; ++y) {
    const uint8_t* p = TopDownRow(bgr, width, height, y);
    for (int x = 0; x < width; x += 2, p += 6, out += 4) {
      const int r = p[2] + p[5], g = p[1] + p[4], b = p[0] + p[3];
      out[0] = LumaOf(p[2], p[1], p[0]);
      out[1] = BlueDifference(r / 2, g / 2, b / 2);
      out[2] = LumaOf(p[5], p[4], p[3]);
      out[3] = RedDifference(r / 2, g / 2, b / 2);
    }
  }
}

// I420 (separate U then V planes) or NV12 (one interleaved UV plane).
void ToYuv420(const uint8_t* bgr, int width, int height, uint8_t* out, bool interleaved) {
  uint8_t* luma = out;
  uint8_t* chromaU = out + static_cast<size_t>(width) * height;
  uint8_t* chromaV = chromaU + static_cast<size_t>(width / 2) * (height / 2);
  for (int y = 0; y < height; y += 2) {
    const uint8_t* top = TopDownRow(bgr, width, height, y);
    const uint8_t* bottom = TopDownRow(bgr, width, height, y + 1);
    uint8_t* lumaTop = luma + static_cast<size_t>(y) * width;
    uint8_t* lumaBottom = lumaTop + width;
    const size_t chromaRow = static_cast<size_t>(y / 2) * (interleaved ? width : width / 2);
    for (int x = 0; x < width; x += 2, top += 6, bottom += 6) {
      lumaTop[x] = LumaOf(top[2], top[1], top[0]);
      lumaTop[x + 1] = LumaOf(top[5], top[4], top[3]);
      lumaBottom[x] = LumaOf(bottom[2], bottom[1], bottom[0]);
      lumaBottom[x + 1] = LumaOf(bottom[5], bottom[4], bottom[3]);
      const int r = (top[2] + top[5] + bottom[2] + bottom[5] + 2) / 4;
      const int g = (top[1] + top[4] + bottom[1] + bottom[4] + 2) / 4;
      const int b = (top[0] + top[3] + bottom[0] + bottom[3] + 2) / 4;
      if (interleaved) {
        chromaU[chromaRow + x] = BlueDifference(r, g, b);
        chromaU[chromaRow + x + 1] = RedDifference(r, g, b);
      } else {
        chromaU[chromaRow + x / 2] = BlueDifference(r, g, b);
        chromaV[chromaRow + x / 2] = RedDifference(r, g, b);
      }
    }
  }
}

}  // namespace

size_t CameraFrameBytes(CameraFormat format, int width, int height) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return 0;
  const size_t pixels = static_cast<size_t>(width) * height;
  switch (format) {
    case CameraFormat::kRgb24:
      // DirectShow rows are DWORD aligned.
      return static_cast<size_t>((width * 3 + 3) & ~3) * height;
    case CameraFormat::kYuy2:
      return width % 2 ? 0 : pixels * 2;
    case CameraFormat::kI420:
    case CameraFormat::kNv12:
      return (width % 2 || height % 2) ? 0 : pixels * 3 / 2;
  }
  return 0;
}

FitRect FitInside(int sourceWidth, int sourceHeight, int frameWidth, int frameHeight) {
  if (sourceWidth <= 0 || sourceHeight <= 0 || frameWidth <= 0 || frameHeight <= 0) return {};
  FitRect fit;
  // Compare sw/sh with fw/fh exactly in integers.
  if (static_cast<int64_t>(sourceWidth) * frameHeight >= static_cast<int64_t>(frameWidth) * sourceHeight) {
    fit.width = frameWidth;
    fit.height =
        std::max<int>(1, static_cast<int>(static_cast<int64_t>(frameWidth) * sourceHeight / sourceWidth));
  } else {
    fit.height = frameHeight;
    fit.width =
        std::max<int>(1, static_cast<int>(static_cast<int64_t>(frameHeight) * sourceWidth / sourceHeight));
  }
  fit.x = (frameWidth - fit.width) / 2;
  fit.y = (frameHeight - fit.height) / 2;
  return fit;
}

const uint8_t* FrameConverter::Fitted(const BgrPicture& picture, int width, int height) {
  if (picture.width == width && picture.height == height) return picture.pixels;
  const FitRect fit = FitInside(picture.width, picture.height, width, height);
  canvas_.assign(static_cast<size_t>(width) * height * 3, 0);
  columns_.resize(fit.width);
  for (int x = 0; x < fit.width; ++x)
    columns_[x] = static_cast<int>(static_cast<int64_t>(x) * picture.width / fit.width) * 3;
  for (int y = 0; y < fit.height; ++y) {
    const int sourceRow = static_cast<int>(static_cast<int64_t>(y) * picture.height / fit.height);
    const uint8_t* in = TopDownRow(picture.pixels, picture.width, picture.height, sourceRow);
    uint8_t* out = &canvas_[(static_cast<size_t>(height - 1 - (fit.y + y)) * width + fit.x) * 3];
    for (int x = 0; x < fit.width; ++x, out += 3) std::memcpy(out, in + columns_[x], 3);
  }
  return canvas_.data();
}

bool FrameConverter::Convert(const BgrPicture& picture, CameraFormat format, int width, int height,
                             uint8_t* out, size_t outBytes) {
  const size_t bytes = CameraFrameBytes(format, width, height);
  if (bytes == 0 || outBytes < bytes || !picture.pixels || picture.width <= 0 || picture.height <= 0 ||
      picture.width > kMaxSide || picture.height > kMaxSide)
    return false;
  const uint8_t* bgr = Fitted(picture, width, height);
  switch (format) {
    case CameraFormat::kRgb24: {
      const size_t row = static_cast<size_t>(width) * 3, stride = bytes / height;
      for (int y = 0; y < height; ++y) {
        std::memcpy(out + y * stride, bgr + y * row, row);
        std::memset(out + y * stride + row, 0, stride - row);
      }
      break;
    }
    case CameraFormat::kYuy2:
      ToYuy2(bgr, width, height, out);
      break;
    case CameraFormat::kI420:
      ToYuv420(bgr, width, height, out, false);
      break;
    case CameraFormat::kNv12:
      ToYuv420(bgr, width, height, out, true);
      break;
  }
  return true;
}
