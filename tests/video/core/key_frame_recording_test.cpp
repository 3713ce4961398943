#include "video/core/key_frame_recording.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(KeyFrameRecording, KeepsTheStreamSinceTheKeyFrameWithinItsLimit) {
  const std::vector<uint8_t> megabyte(size_t{1} << 20, 0x5A);
  KeyFrameRecording r;
  r.Append(megabyte.data(), 10, 1);
  EXPECT_FALSE(r.complete()) << "nothing to go back to before a key frame";

  r.Restart(megabyte.data(), 100);
  r.Append(megabyte.data(), 200, 2);
  ASSERT_TRUE(r.complete());
  EXPECT_EQ(r.size(), 300u);
  EXPECT_EQ(r.last_message_size(), 200u);
  EXPECT_EQ(r.pictures_before_last_message(), 1);

  // A key frame that never comes again: the recording stops growing.
  for (int i = 0; i < 40 && r.complete(); ++i) r.Append(megabyte.data(), megabyte.size(), 1);
  EXPECT_FALSE(r.complete());
  EXPECT_LE(r.size(), KeyFrameRecording::kLimit);
  r.Restart(megabyte.data(), 100);
  EXPECT_TRUE(r.complete());
  EXPECT_EQ(r.size(), 100u);
  // The codec reads past a message: zeros there, not what was recorded before.
  const uint8_t* padding = r.last_message() + r.last_message_size();
  EXPECT_EQ(std::vector<uint8_t>(padding, padding + KeyFrameRecording::kPadding),
            std::vector<uint8_t>(KeyFrameRecording::kPadding, 0));
}

}  // namespace
