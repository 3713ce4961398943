// The snapshot rule on a section in plain memory: a writer thread rewrites
// it with alternating solid colours through the writer's trailer helpers,
// and every picture the reader keeps is one colour.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "camera/core/picture_snapshot.h"
#include "video/core/frame_section_layout.h"

namespace {

constexpr int kWidth = 320, kHeight = 240;

void WritePicture(uint8_t* view, uint8_t shade, uint64_t time, bool trailer = true) {
  if (trailer) frame_section::BeginWrite(view);
  const int32_t header[3] = {kWidth, kHeight, kWidth * kHeight * 3};
  std::memcpy(view, header, sizeof(header));
  std::memset(view + frame_section::kPixelOffset, shade, kWidth * kHeight * 3);
  if (trailer) frame_section::EndWrite(view, time);
}

bool OneColour(const BgrPicture& p) {
  const size_t bytes = static_cast<size_t>(p.width) * p.height * 3;
  for (size_t i = 1; i < bytes; ++i)
    if (p.pixels[i] != p.pixels[0]) return false;
  return true;
}

TEST(PictureSnapshot, KeepsOnlyWholePicturesWhileAWriterKeepsRewriting) {
  std::vector<uint8_t> section(frame_section::kSize, 0);
  uint8_t* view = section.data();
  frame_section::MarkTrailer(view);
  PictureSnapshot snapshot;
  EXPECT_EQ(PictureSnapshot::Result::kNoPicture, snapshot.Update(view));
  WritePicture(view, 0x10, 7);
  ASSERT_EQ(PictureSnapshot::Result::kCopied, snapshot.Update(view));
  EXPECT_EQ(7u, snapshot.writeTime());
  EXPECT_EQ(PictureSnapshot::Result::kUnchanged, snapshot.Update(view));

  std::atomic<bool> stop{false};
  std::atomic<int> written{0};
  // Gaps of 0 to 300 us between pictures leave room for whole copies as
  // well as copies the writer overlaps.
  std::thread writer([&] {
    for (uint64_t i = 0; !stop.load(); ++i, ++written) {
      WritePicture(view, i % 2 ? 0xFF : 0x00, i);
      std::this_thread::sleep_for(std::chrono::microseconds(i % 4 * 100));
    }
  });
  int copied = 0, busy = 0, torn = 0;
  for (int i = 0; i < 100000 && (copied < 100 || busy < 20); ++i) {
    const auto result = snapshot.Update(view);
    copied += result == PictureSnapshot::Result::kCopied;
    busy += result == PictureSnapshot::Result::kBusy;
    torn += !OneColour(snapshot.picture());
  }
  stop = true;
  writer.join();
  EXPECT_EQ(0, torn) << copied << " copies, " << busy << " refused, " << written << " written";
  EXPECT_GT(copied, 0);
  EXPECT_GT(busy, 0);  // the writer did overlap the copies
  ASSERT_TRUE(snapshot.hasPicture());
  EXPECT_EQ(kWidth, snapshot.picture().width);
}

// A writer that knows nothing of the trailer (no magic): every update copies.
TEST(PictureSnapshot, WithoutTrailerEveryUpdateCopies) {
  std::vector<uint8_t> section(frame_section::kSize, 0);
  WritePicture(section.data(), 0x42, 0, false);
  PictureSnapshot snapshot;
  EXPECT_EQ(PictureSnapshot::Result::kCopied, snapshot.Update(section.data()));
  WritePicture(section.data(), 0x43, 0, false);
  EXPECT_EQ(PictureSnapshot::Result::kCopied, snapshot.Update(section.data()));
  EXPECT_EQ(0x43, snapshot.picture().pixels[0]);
}

}  // namespace
