#include "camera/filter_media_types.h"

#include <cstring>

namespace {

// FOURCC sub types share the base GUID XXXXXXXX-0000-0010-8000-00AA00389B71.
GUID FourccSubtype(DWORD fourcc) {
  return {fourcc, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
}

constexpr DWORD Fourcc(char a, char b, char c, char d) {
  return static_cast<DWORD>(a) | (static_cast<DWORD>(b) << 8) | (static_cast<DWORD>(c) << 16) |
         (static_cast<DWORD>(d) << 24);
}

struct FormatInfo {
  DWORD compression;  // BI_RGB or a FOURCC
  WORD bitCount;
};

FormatInfo InfoOf(CameraFormat format) {
  switch (format) {
    case CameraFormat::kYuy2:
      return {Fourcc('Y', 'U', 'Y', '2'), 16};
    case CameraFormat::kI420:
      return {Fourcc('I', '4', '2', '0'), 12};
    case CameraFormat::kNv12:
      return {Fourcc('N', 'V', '1', '2'), 12};
    case CameraFormat::kRgb24:
      break;
  }
  return {BI_RGB, 24};
}

GUID SubtypeOf(CameraFormat format) {
  return format == CameraFormat::kRgb24 ? MEDIASUBTYPE_RGB24 : FourccSubtype(InfoOf(format).compression);
}

}  // namespace

bool MakeMediaType(CameraFormat format, int width, int height, AM_MEDIA_TYPE& type) {
  const size_t bytes = CameraFrameBytes(format, width, height);
  auto* info = static_cast<VIDEOINFOHEADER*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
  if (!info || bytes == 0) {
    CoTaskMemFree(info);
    return false;
  }
  std::memset(info, 0, sizeof(*info));
  info->AvgTimePerFrame = kFrameInterval;
  info->dwBitRate = static_cast<DWORD>(bytes * 8 * 30);
  info->rcSource = {0, 0, width, height};
  info->rcTarget = info->rcSource;
  BITMAPINFOHEADER& header = info->bmiHeader;
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = width;
  header.biHeight = height;  // RGB24 rows bottom-up; YUV is top-down whatever the sign
  header.biPlanes = 1;
  header.biBitCount = InfoOf(format).bitCount;
  header.biCompression = InfoOf(format).compression;
  header.biSizeImage = static_cast<DWORD>(bytes);
  std::memset(&type, 0, sizeof(type));
  type.majortype = MEDIATYPE_Video;
  type.subtype = SubtypeOf(format);
  type.bFixedSizeSamples = TRUE;
  type.bTemporalCompression = FALSE;
  type.lSampleSize = static_cast<ULONG>(bytes);
  type.formattype = FORMAT_VideoInfo;
  type.cbFormat = sizeof(VIDEOINFOHEADER);
  type.pbFormat = reinterpret_cast<BYTE*>(info);
  return true;
}

void FreeMediaTypeContents(AM_MEDIA_TYPE& type) {
  if (type.cbFormat) CoTaskMemFree(type.pbFormat);
  type.cbFormat = 0;
  type.pbFormat = nullptr;
  if (type.pUnk) type.pUnk->Release();
  type.pUnk = nullptr;
}

bool CopyMediaType(const AM_MEDIA_TYPE& from, AM_MEDIA_TYPE& to) {
  to = from;
  if (from.cbFormat) {
    to.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(from.cbFormat));
    if (!to.pbFormat) {
      to.cbFormat = 0;
      to.pUnk = nullptr;
      return false;
    }
    std::memcpy(to.pbFormat, from.pbFormat, from.cbFormat);
  }
  if (to.pUnk) to.pUnk->AddRef();
  return true;
}

AM_MEDIA_TYPE* NewMediaType(CameraFormat format, int width, int height) {
  auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
  if (type && !MakeMediaType(format, width, height, *type)) {
    CoTaskMemFree(type);
    return nullptr;
  }
  return type;
}

bool IsCompleteType(const AM_MEDIA_TYPE& type) {
  return type.subtype != GUID_NULL && type.formattype == FORMAT_VideoInfo && type.pbFormat &&
         type.cbFormat >= sizeof(VIDEOINFOHEADER);
}

bool TypeAllows(const AM_MEDIA_TYPE& type, CameraFormat format, int width, int height) {
  if (type.majortype != GUID_NULL && type.majortype != MEDIATYPE_Video) return false;
  if (type.subtype != GUID_NULL && type.subtype != SubtypeOf(format)) return false;
  if (type.formattype == GUID_NULL) return true;
  if (type.formattype != FORMAT_VideoInfo || !type.pbFormat || type.cbFormat < sizeof(VIDEOINFOHEADER))
    return false;
  const BITMAPINFOHEADER& header = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
  // RGB24 must be bottom-up (positive height): that is the layout we write.
  if (format == CameraFormat::kRgb24 && header.biHeight < 0) return false;
  return header.biWidth == width && (header.biHeight == height || header.biHeight == -height);
}

bool FindOfferedFormat(const AM_MEDIA_TYPE& type, int width, int height, CameraFormat& format) {
  for (CameraFormat offered : kOfferedFormats)
    if (TypeAllows(type, offered, width, height)) {
      format = offered;
      return true;
    }
  return false;
}
