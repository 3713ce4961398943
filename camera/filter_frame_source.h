// Where each tick's frame comes from: the newest whole picture in the shared
// section (opened by name, read-only, from the host process), converted to
// the connected format; the placeholder while there is no section or no
// picture yet. Used by the streaming thread only.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "camera/core/picture_format.h"
#include "camera/core/picture_snapshot.h"
#include "framework/handles.h"

class FrameSource {
 public:
  FrameSource(std::string sectionName, int width, int height);
  FrameSource(const FrameSource&) = delete;
  FrameSource& operator=(const FrameSource&) = delete;

  // Writes one frame of `format` at the camera's size into `out`. False only
  // when the format cannot be made at this size or `bytes` is too small.
  bool Fill(CameraFormat format, uint8_t* out, size_t bytes);
  // True when the last Fill sent the placeholder.
  bool sentPlaceholder() const { return sentPlaceholder_; }

 private:
  const uint8_t* View();
  using ReadView = UniqueOwner<void*, ReleasedBy<void, &UnmapViewOfFile>>;
  std::string name_;
  int width_;
  int height_;
  UniqueHandle mapping_;
  ReadView view_;  // kept for the filter's life: the last picture survives its writer
  PictureSnapshot snapshot_;
  FrameConverter converter_;
  std::vector<uint8_t> placeholder_;  // drawn on first need
  // The last converted frame, reused while the picture and format stay.
  std::vector<uint8_t> converted_;
  CameraFormat convertedFormat_ = CameraFormat::kRgb24;
  bool convertedValid_ = false;
  bool sentPlaceholder_ = false;
};
