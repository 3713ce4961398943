// The stream as the decoder received it, from the last message that opened
// with a key frame on. When a picture that the codec already took (and kept
// as a reference) turns out to have been cut short, the codec is reset and
// given this again, so that the pictures after it are predicted from the
// same pictures as the phone's encoder used.
// Bounded: past kLimit bytes the recording is given up until the next key
// frame.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class KeyFrameRecording {
 public:
  static constexpr size_t kLimit = size_t{16} << 20;
  // Zero bytes kept after the recorded ones: the codec reads past its input.
  static constexpr size_t kPadding = 64;

  // Starts over with a message that opens with a key frame.
  void Restart(const uint8_t* data, size_t length);
  // Adds the next message, which starts `pictures` pictures.
  void Append(const uint8_t* data, size_t length, int pictures);

  // Everything since the key frame is here.
  bool complete() const { return complete_; }
  const uint8_t* data() const { return bytes_.data(); }
  size_t size() const { return size_; }
  // The last message added, followed by kPadding zero bytes.
  uint8_t* lastMessage() { return bytes_.data() + lastAt_; }
  size_t lastMessageSize() const { return size_ - lastAt_; }
  // Pictures that start in the messages before the last one.
  int picturesBeforeLastMessage() const { return picturesBeforeLast_; }

 private:
  std::vector<uint8_t> bytes_;
  size_t size_ = 0;
  size_t lastAt_ = 0;
  int pictures_ = 0;
  int picturesBeforeLast_ = 0;
  bool complete_ = false;
};
