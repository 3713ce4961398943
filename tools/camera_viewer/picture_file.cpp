#include "tools/camera_viewer/picture_file.h"

#include <dshow.h>

#include <algorithm>

#include "framework/gdiplus_api.h"
#include "framework/gdiplus_session.h"
#include "widgets/gdiplus_owners.h"

namespace {

// MEDIASUBTYPE_I420 and _NV12 are FOURCC subtypes: the code in the first
// field, then the fixed tail of every FOURCC GUID.
GUID FourccSubtype(DWORD fourcc) {
  return GUID{fourcc, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
}

size_t BgrStride(int width) {
  return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
}

uint8_t Clamp(int value) {
  return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

// BT.601 studio range in 8.8 fixed point.
void YuvToBgr(int y, int u, int v, uint8_t* out) {
  const int c = 298 * (y - 16) + 128, d = u - 128, e = v - 128;
  out[0] = Clamp((c + 516 * d) >> 8);
  out[1] = Clamp((c - 100 * d - 208 * e) >> 8);
  out[2] = Clamp((c + 409 * e) >> 8);
}

}  // namespace

GUID FrameSubtype(FrameFormat format) {
  switch (format) {
    case FrameFormat::kYuy2:
      return MEDIASUBTYPE_YUY2;
    case FrameFormat::kI420:
      return FourccSubtype(MAKEFOURCC('I', '4', '2', '0'));
    case FrameFormat::kNv12:
      return FourccSubtype(MAKEFOURCC('N', 'V', '1', '2'));
    case FrameFormat::kRgb24:
      break;
  }
  return MEDIASUBTYPE_RGB24;
}

bool ParseFrameFormat(const std::string& name, FrameFormat& format) {
  const struct {
    const char* name;
    FrameFormat format;
  } kNames[] = {{"YUY2", FrameFormat::kYuy2},
                {"I420", FrameFormat::kI420},
                {"NV12", FrameFormat::kNv12},
                {"RGB24", FrameFormat::kRgb24}};
  for (const auto& known : kNames) {
    if (name == known.name) {
      format = known.format;
      return true;
    }
  }
  return false;
}

size_t FrameBytes(FrameFormat format, int width, int height) {
  const size_t pixels = static_cast<size_t>(width) * height;
  switch (format) {
    case FrameFormat::kYuy2:
      return pixels * 2;
    case FrameFormat::kI420:
    case FrameFormat::kNv12:
      return pixels * 3 / 2;
    case FrameFormat::kRgb24:
      break;
  }
  return BgrStride(width) * height;
}

std::vector<uint8_t> FrameToTopDownBgr(FrameFormat format, int width, int height,
                                       const std::vector<uint8_t>& frame) {
  const bool subsampled = format != FrameFormat::kRgb24;
  if (width <= 0 || height <= 0 || frame.size() < FrameBytes(format, width, height) ||
      (subsampled && (width % 2 || height % 2)))
    return {};
  const size_t stride = BgrStride(width);
  std::vector<uint8_t> bgr(stride * height);
  const uint8_t* luma = frame.data();
  const uint8_t* chroma = luma + static_cast<size_t>(width) * height;
  const size_t quarter = static_cast<size_t>(width / 2) * (height / 2);
  for (int y = 0; y < height; ++y) {
    uint8_t* out = bgr.data() + stride * y;
    for (int x = 0; x < width; ++x, out += 3) {
      const size_t half = static_cast<size_t>(y / 2) * (width / 2) + x / 2;
      switch (format) {
        case FrameFormat::kYuy2: {
          const uint8_t* pair = frame.data() + (static_cast<size_t>(y) * width + (x & ~1)) * 2;
          YuvToBgr(pair[(x & 1) * 2], pair[1], pair[3], out);
          break;
        }
        case FrameFormat::kI420:
          YuvToBgr(luma[static_cast<size_t>(y) * width + x], chroma[half], chroma[quarter + half], out);
          break;
        case FrameFormat::kNv12:
          YuvToBgr(luma[static_cast<size_t>(y) * width + x], chroma[half * 2], chroma[half * 2 + 1], out);
          break;
        case FrameFormat::kRgb24:  // rows bottom-up, as for a positive height
          std::copy_n(frame.data() + stride * (height - 1 - y) + x * 3, 3, out);
          break;
      }
    }
  }
  return bgr;
}

bool SaveBgrAsPng(const std::vector<uint8_t>& bgr, int width, int height, const std::wstring& file) {
  GdiplusSession gdiplus;
  if (!gdiplus.ok() || bgr.size() < BgrStride(width) * height) return false;
  Gdiplus::GpBitmap* raw = nullptr;
  if (Gdiplus::DllExports::GdipCreateBitmapFromScan0(width, height, static_cast<INT>(BgrStride(width)),
                                                     PixelFormat24bppRGB, const_cast<uint8_t*>(bgr.data()),
                                                     &raw) != Gdiplus::Ok)
    return false;
  const GpBitmapPtr bitmap(raw);
  static const CLSID kPngEncoder = {
      0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  return Gdiplus::DllExports::GdipSaveImageToFile(bitmap.get(), file.c_str(), &kPngEncoder, nullptr) ==
         Gdiplus::Ok;
}
