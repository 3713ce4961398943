#include "video/core/key_frame_recording.h"

#include <cstring>

void KeyFrameRecording::Restart(const uint8_t* data, size_t length) {
  size_ = 0;
  pictures_ = 0;
  complete_ = true;
  Append(data, length, 1);
}

void KeyFrameRecording::Append(const uint8_t* data, size_t length, int pictures) {
  if (!complete_) return;
  if (length > kLimit - size_) {
    complete_ = false;
    return;
  }
  if (bytes_.size() < size_ + length + kPadding) bytes_.resize(size_ + length + kPadding);
  std::memcpy(bytes_.data() + size_, data, length);
  lastAt_ = size_;
  size_ += length;
  std::memset(bytes_.data() + size_, 0, kPadding);
  picturesBeforeLast_ = pictures_;
  pictures_ += pictures;
}
