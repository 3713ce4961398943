#include "camera/filter_frame_source.h"

#include <cstring>

#include "camera/filter_placeholder.h"
#include "video/core/frame_section_layout.h"

FrameSource::FrameSource(std::string sectionName, int width, int height)
    : name_(std::move(sectionName)), width_(width), height_(height) {}

const uint8_t* FrameSource::View() {
  if (!view_) {
    if (!mapping_) mapping_.reset(OpenFileMappingA(FILE_MAP_READ, FALSE, name_.c_str()));
    if (mapping_) view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, frame_section::kSize));
  }
  return static_cast<const uint8_t*>(view_.get());
}

bool FrameSource::Fill(CameraFormat format, uint8_t* out, size_t bytes) {
  const size_t needed = CameraFrameBytes(format, width_, height_);
  if (needed == 0 || bytes < needed) return false;
  const uint8_t* view = View();
  const bool changed = view && snapshot_.Update(view) == PictureSnapshot::Result::kCopied;
  if (changed || format != convertedFormat_) convertedValid_ = false;
  if (!convertedValid_) {
    BgrPicture picture = snapshot_.picture();
    sentPlaceholder_ = !snapshot_.hasPicture();
    if (sentPlaceholder_) {
      if (placeholder_.empty()) placeholder_ = DrawPlaceholder(width_, height_);
      picture = {placeholder_.data(), width_, height_};
    }
    converted_.resize(needed);
    if (!converter_.Convert(picture, format, width_, height_, converted_.data(), needed)) return false;
    convertedFormat_ = format;
    convertedValid_ = true;
  }
  std::memcpy(out, converted_.data(), needed);
  return true;
}
