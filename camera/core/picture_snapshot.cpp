#include "camera/core/picture_snapshot.h"

#include <cstring>

#include "video/core/frame_section_layout.h"

PictureSnapshot::Result PictureSnapshot::Update(const uint8_t* view) {
  // A writer without the trailer cannot be guarded: every tick copies.
  const bool guarded = frame_section::HasTrailer(view);
  const uint32_t before = guarded ? frame_section::SequenceBeforeCopy(view) : 0;
  if (before & 1u) return Result::kBusy;
  if (guarded && hasPicture() && before == sequence_) return Result::kUnchanged;
  int32_t header[3];
  std::memcpy(header, view + frame_section::kWidthOffset, sizeof(header));
  if (!frame_section::FitsSection(header[0], header[1]) || header[2] != header[0] * header[1] * 3) {
    if (guarded && frame_section::SequenceAfterCopy(view) != before) return Result::kBusy;
    return Result::kNoPicture;
  }
  // Copy into the scratch buffer so a torn copy never replaces the picture held.
  scratch_.resize(static_cast<size_t>(header[2]));
  std::memcpy(scratch_.data(), view + frame_section::kPixelOffset, scratch_.size());
  const uint64_t writeTime = guarded ? frame_section::WriteTimeIn(view) : 0;
  if (guarded && frame_section::SequenceAfterCopy(view) != before) return Result::kBusy;
  pixels_.swap(scratch_);
  width_ = header[0];
  height_ = header[1];
  sequence_ = before;
  writeTime_ = writeTime;
  return Result::kCopied;
}
