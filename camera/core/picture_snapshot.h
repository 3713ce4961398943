// The cameras' copy of the newest picture in the shared section. The section
// has no lock: a copy is kept only when the trailer's sequence was even
// before it and unchanged after it; otherwise the previous picture stays.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "camera/core/picture_format.h"

class PictureSnapshot {
 public:
  enum class Result {
    kCopied,     // a new whole picture is held now
    kUnchanged,  // the section still holds the picture held already
    kBusy,       // the writer was at work: the previous picture stays
    kNoPicture,  // the section holds no valid header (yet)
  };

  // Reads a mapped view of the section (frame_section::kSize bytes).
  Result Update(const uint8_t* view);

  bool hasPicture() const { return width_ > 0; }
  BgrPicture picture() const { return {pixels_.data(), width_, height_}; }
  uint64_t writeTime() const { return writeTime_; }

 private:
  std::vector<uint8_t> pixels_;
  std::vector<uint8_t> scratch_;
  int width_ = 0;
  int height_ = 0;
  uint32_t sequence_ = 0;
  uint64_t writeTime_ = 0;
};
