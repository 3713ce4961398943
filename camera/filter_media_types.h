// The media types the camera's pin offers: FORMAT_VideoInfo at the profile's
// size and 30 frames per second, one per pixel format.
#pragma once
#include <windows.h>

#include <dshow.h>

#include "camera/core/picture_format.h"

constexpr REFERENCE_TIME kFrameInterval = 10000000 / 30;  // 100 ns units

// The formats in the order the pin offers them (the first is the default).
constexpr CameraFormat kOfferedFormats[] = {CameraFormat::kYuy2, CameraFormat::kI420, CameraFormat::kNv12,
                                            CameraFormat::kRgb24};
constexpr int kOfferedFormatCount = sizeof(kOfferedFormats) / sizeof(kOfferedFormats[0]);

// Fills `type` (whose format block it allocates with CoTaskMemAlloc) for
// `format` at width x height. False when out of memory.
bool MakeMediaType(CameraFormat format, int width, int height, AM_MEDIA_TYPE& type);
// Frees the format block and the object reference of `type` (not `type`).
void FreeMediaTypeContents(AM_MEDIA_TYPE& type);
// A deep copy; false when out of memory.
bool CopyMediaType(const AM_MEDIA_TYPE& from, AM_MEDIA_TYPE& to);
// A media type allocated with CoTaskMemAlloc, as enumerators and
// IAMStreamConfig hand out (the caller frees it with DeleteMediaType's rules).
AM_MEDIA_TYPE* NewMediaType(CameraFormat format, int width, int height);

// Which of our formats `type` describes, when it is one we deliver at this
// size. A partial type (null major or sub type, no format block) matches
// when every field it does name agrees; `format` is the first such.
bool FindOfferedFormat(const AM_MEDIA_TYPE& type, int width, int height, CameraFormat& format);
// True when the (possibly partial) `type` allows `format` at this size.
bool TypeAllows(const AM_MEDIA_TYPE& type, CameraFormat format, int width, int height);
// True when `type` names a format completely (sub type and format block).
bool IsCompleteType(const AM_MEDIA_TYPE& type);

// Owns an AM_MEDIA_TYPE's contents.
class MediaType {
 public:
  MediaType() : type_{} {}
  ~MediaType() { FreeMediaTypeContents(type_); }
  MediaType(const MediaType&) = delete;
  MediaType& operator=(const MediaType&) = delete;
  AM_MEDIA_TYPE& get() { return type_; }
  const AM_MEDIA_TYPE& get() const { return type_; }
  bool empty() const { return type_.pbFormat == nullptr; }
  void clear() { FreeMediaTypeContents(type_); }

 private:
  AM_MEDIA_TYPE type_;
};
