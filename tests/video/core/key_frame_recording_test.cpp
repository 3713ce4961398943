#include "video/core/key_frame_recording.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A key frame that never comes again: the recording stops growing at its
// limit. It starts over at the next one, with zeros after it for the codec
// rather than what was recorded before.
TEST(KeyFrameRecording, StopsAtItsLimitAndStartsOverAtTheNextKeyFrame) {
  const std::vector<uint8_t> megabyte(size_t{1} << 20, 0x5A);
  KeyFrameRecording r;
  r.Restart(megabyte.data(), 100);
  for (int i = 0; i < 40 && r.complete(); ++i) r.Append(megabyte.data(), megabyte.size(), 1);
  EXPECT_FALSE(r.complete());
  EXPECT_LE(r.size(), KeyFrameRecording::kLimit);
  r.Restart(megabyte.data(), 100);
  ASSERT_TRUE(r.complete());
  EXPECT_EQ(r.size(), 100u);
  const uint8_t* padding = r.lastMessage() + r.lastMessageSize();
  EXPECT_EQ(std::vector<uint8_t>(padding, padding + KeyFrameRecording::kPadding),
            std::vector<uint8_t>(KeyFrameRecording::kPadding, 0));
}

}  // namespace
