#include "link/dui_resource_store.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

namespace {

std::unique_ptr<uint8_t[]> Bytes(const std::string& s) {
  std::unique_ptr<uint8_t[]> p(new uint8_t[s.size()]);
  std::memcpy(p.get(), s.data(), s.size());
  return p;
}

std::string Text(const BlobSnapshot& b) {
  return b ? std::string(reinterpret_cast<const char*>(b->data()), b->size()) : "<none>";
}

}  // namespace

// Names are compared exactly; a replaced blob leaves earlier snapshots
// whole; an empty blob is a blob.
TEST(DUIResourceStoreTest, ExactNamesReplacementAndEmptyBlobs) {
  DUIResourceStore store;
  store.StoreResource("face.png", Bytes("old-data"), 8);
  store.StoreResource("Face.png", Bytes("BB"), 2);
  store.StoreResource("nothing", nullptr, 0);
  const BlobSnapshot old = store.FindResource("face.png");
  store.StoreResource("face.png", Bytes("new"), 3);
  EXPECT_EQ(Text(store.FindResource("face.png")), "new");
  EXPECT_EQ(Text(old), "old-data");
  EXPECT_EQ(Text(store.FindResource("Face.png")), "BB");
  EXPECT_FALSE(store.FindResource("face"));
  EXPECT_FALSE(store.FindResource("face.png "));
  ASSERT_TRUE(store.FindResource("nothing"));
  EXPECT_EQ(store.FindResource("nothing")->size(), 0u);
  EXPECT_EQ(store.Count(), 3u);
}

// A window-thread reader always sees a (data, size) pair that belongs
// together while the stream thread keeps replacing the entry.
TEST(DUIResourceStoreTest, ReaderSeesConsistentPairsDuringReplacement) {
  DUIResourceStore store;
  std::atomic<bool> stop{false};
  std::atomic<uint32_t> replaced{0};
  std::thread writer([&] {
    for (uint32_t i = 0; !stop.load(); ++i, ++replaced) {
      const uint32_t size = 1 + (i * 7919) % 5000;
      std::unique_ptr<uint8_t[]> data(new uint8_t[size]);
      std::memset(data.get(), static_cast<int>(size & 0xFF), size);
      store.StoreResource("busy", std::move(data), size);
    }
  });
  int checked = 0, torn = 0;
  // Reads until both sides have done plenty of work interleaved.
  while (replaced.load() < 3000 || checked < 3000) {
    const BlobSnapshot b = store.FindResource("busy");
    if (!b) continue;
    const uint8_t expected = static_cast<uint8_t>(b->size() & 0xFF);
    if (b->data()[0] != expected || b->data()[b->size() - 1] != expected) ++torn;
    ++checked;
  }
  stop = true;
  writer.join();
  EXPECT_EQ(torn, 0);
}

TEST(DUIResourceStoreTest, CapsOnNamesAndBytesDropNewBlobs) {
  DUIResourceStore store(/*maxEntries=*/3, /*maxBytes=*/10);
  EXPECT_TRUE(store.StoreResource("a", Bytes("1234"), 4));
  EXPECT_TRUE(store.StoreResource("b", Bytes("5678"), 4));
  EXPECT_FALSE(store.StoreResource("c", Bytes("abc"), 3));  // 11 bytes would be too many
  EXPECT_FALSE(store.FindResource("c"));
  EXPECT_TRUE(store.StoreResource("c", Bytes("ab"), 2));
  EXPECT_EQ(store.TotalBytes(), 10u);
  EXPECT_FALSE(store.StoreResource("d", nullptr, 0));  // a fourth name
  EXPECT_EQ(store.Count(), 3u);

  // Replacing counts the difference: shrinking frees room, growing past the cap is refused.
  EXPECT_TRUE(store.StoreResource("a", Bytes("1"), 1));
  EXPECT_EQ(store.TotalBytes(), 7u);
  EXPECT_FALSE(store.StoreResource("b", Bytes("12345678"), 8));
  EXPECT_EQ(Text(store.FindResource("b")), "5678");
  EXPECT_TRUE(store.StoreResource("b", Bytes("1234567"), 7));
  EXPECT_EQ(store.TotalBytes(), 10u);
}
