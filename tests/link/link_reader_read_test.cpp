// ReadMessage against a fake phone over loopback: what the reader adds to
// the frame reader (Commands to the window, Blobs to the store) and what the
// socket owns (large frames in many pieces, the silence bound). How frames
// are cut and bounded is checked in the portable frame reader tests.
#include <gtest/gtest.h>

#include "link/dui_resource_store.h"
#include "link/link_reader.h"
#include "tests/link/command_window.h"
#include "tests/link/core/memory_channel.h"
#include "tests/support/fake_phone.h"

using fake::FakePhone;

TEST(LinkReaderReadTest, CommandIsDeliveredOnceToTheWindowAndAlsoReturned) {
  CommandWindow window;
  const std::string xml = "<cmd name=\"美颜\" value=\"50\"/>";
  ASSERT_NE(window.hwnd(), nullptr);
  FakePhone phone;
  LinkReader reader(window.hwnd());
  ASSERT_TRUE(phone.ConnectGreeted(reader, Frame(4, "") + Frame(4, xml) + Frame(1, "after")));

  ASSERT_TRUE(IsMessage(reader.ReadMessage(), 4, ""));  // an empty command is not delivered
  auto command = reader.ReadMessage();
  ASSERT_TRUE(IsMessage(command, 4, xml));
  // The delivery is synchronous: the window has the text when ReadMessage returns.
  ASSERT_EQ(window.commands, std::vector<std::string>{xml});

  ASSERT_TRUE(IsMessage(reader.ReadMessage(), 1, "after"));
  EXPECT_EQ(window.commands.size(), 1u);
}

// Naming and replacing blobs is the store's; the reader hands each one over.
TEST(LinkReaderReadTest, BlobsGoToTheStoreAndShortOnesAreDropped) {
  DUIResourceStore& store = DUIResourceStore::Instance();
  const std::string shortBlob = std::string("lrr_short") + std::string(245, '\0');  // 254 bytes
  FakePhone phone;
  LinkReader reader;
  ASSERT_TRUE(phone.ConnectGreeted(
      reader, Frame(3, fake::BlobPayload("lrr_blob", "picture")) + Frame(3, shortBlob) + Frame(1, "next")));
  ASSERT_TRUE(reader.ReadMessage());
  const BlobSnapshot blob = store.FindResource("lrr_blob");
  ASSERT_TRUE(blob);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(blob->data()), blob->size()), "picture");
  const size_t before = store.Count();
  ASSERT_TRUE(IsMessage(reader.ReadMessage(), 3, shortBlob));  // returned, not stored
  EXPECT_EQ(store.Count(), before);
  ASSERT_TRUE(IsMessage(reader.ReadMessage(), 1, "next"));
}

TEST(LinkReaderReadTest, LargeFramesArriveWhole) {
  std::string big(3 * 1024 * 1024 + 17, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 131) >> 3);
  FakePhone phone;
  LinkReader reader;
  ASSERT_TRUE(phone.ConnectGreeted(reader, Frame(1, big) + Frame(1, "tail")));
  auto m = reader.ReadMessage();
  ASSERT_TRUE(m);
  EXPECT_TRUE(PayloadOf(*m) == big);
  ASSERT_TRUE(IsMessage(reader.ReadMessage(), 1, "tail"));
}

// Slow by nature: the link's silence bound is 10 s.
TEST(LinkReaderReadTest, TenSecondsOfSilenceEndsTheReader) {
  FakePhone phone;
  LinkReader reader;
  ASSERT_TRUE(phone.ConnectGreeted(reader));
  const ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(reader.ReadMessage());
  const ULONGLONG waited = GetTickCount64() - start;
  EXPECT_GE(waited, 9000u);
  EXPECT_LE(waited, 15000u);
  // Heartbeats kept going out while the phone was silent: one every 2 s from
  // 2 s after the greeting, so 4 or 5 of them (8 bytes each) in 10 s.
  EXPECT_GE(phone.Received().size(), 9u + 4 * 8);
  EXPECT_LE(phone.Received().size(), 9u + 5 * 8);
  EXPECT_EQ(phone.Received().substr(9, 8), std::string("\x05\0\0\0\0\0\0\0", 8));
}
