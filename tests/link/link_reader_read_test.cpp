// ReadMessage against a fake phone: every type, the side effects of Commands
// and Blobs, and every way a frame can be broken.
#include <gtest/gtest.h>

#include "link/core/frame_header.h"
#include "link/dui_resource_store.h"
#include "link/link_reader.h"
#include "tests/link/command_window.h"
#include "tests/link/core/reference_frame_reading.h"
#include "tests/link/fake_phone.h"

using fake::FakePhone;

namespace {

constexpr unsigned kWaitMs = 10000;

std::string BlobText(const BlobSnapshot& blob) {
  return blob ? std::string(reinterpret_cast<const char*>(blob->data()), blob->size())
              : std::string("<none>");
}

// A phone that answers the greeting and then sends `frames`; closes after
// them when asked.
class ReadFixture {
 public:
  explicit ReadFixture(const std::string& frames, bool closeAfter = false, HWND window = nullptr)
      : reader(window) {
    phone.AnswerGreeting().Send(frames);
    if (closeAfter) phone.CloseConnection();
    EXPECT_TRUE(phone.Start());
    EXPECT_EQ(reader.ConnectLoopback(phone.port()), 1);
  }
  FakePhone phone;
  LinkReader reader;
};

}  // namespace

TEST(LinkReaderReadTest, EveryTypeIncludingEmptyAndUnknown) {
  const std::string blob = fake::BlobPayload("lrr_every_type", "PNGDATA");
  ReadFixture f(fake::Frame(1, "h264 bytes") + fake::Frame(1, "") + fake::Frame(3, blob) +
                fake::Frame(4, "<a/>") + fake::Frame(5, "") + fake::Frame(9, "unknown") +
                fake::Frame(0x00070004, "") + fake::Frame(0xFFFF, "z"));
  const std::vector<std::pair<uint16_t, std::string>> expected = {
      {1, "h264 bytes"}, {1, ""}, {3, blob}, {4, "<a/>"}, {5, ""}, {9, "unknown"}, {4, ""}, {0xFFFF, "z"}};
  for (const auto& e : expected) EXPECT_TRUE(IsMessage(f.reader.ReadMessage(), e.first, e.second));
  EXPECT_EQ(BlobText(DUIResourceStore::Instance().FindResource("lrr_every_type")), "PNGDATA");
}

TEST(LinkReaderReadTest, CommandIsDeliveredOnceToTheWindowAndAlsoReturned) {
  CommandWindow window;
  const std::string xml = "<cmd name=\"美颜\" value=\"50\"/>";
  ASSERT_NE(window.hwnd(), nullptr);
  ReadFixture f(fake::Frame(4, xml) + fake::Frame(1, "after"), false, window.hwnd());

  auto command = f.reader.ReadMessage();
  ASSERT_TRUE(command);
  EXPECT_TRUE(command->Is(LinkMessageType::Command));
  EXPECT_EQ(PayloadOf(*command), xml);
  // The delivery is synchronous: the window has the text when ReadMessage returns.
  ASSERT_EQ(window.Commands().size(), 1u);
  EXPECT_EQ(window.Commands()[0], xml);
  EXPECT_EQ(window.HandlerThreads()[0], window.threadId());
  EXPECT_NE(window.threadId(), GetCurrentThreadId());

  auto next = f.reader.ReadMessage();
  ASSERT_TRUE(next);
  EXPECT_EQ(PayloadOf(*next), "after");
  EXPECT_EQ(window.Commands().size(), 1u);
}

TEST(LinkReaderReadTest, CommandTextEndsAtNulAndEmptyCommandsAreNotDelivered) {
  CommandWindow window;
  const std::string withNul("<a/>\0<b/>", 9);
  ReadFixture f(fake::Frame(4, "") + fake::Frame(4, withNul) + fake::Frame(4, "\xC3("), false, window.hwnd());
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(f.reader.ReadMessage());
  const std::vector<std::string> commands = window.Commands();
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0], "<a/>");
  // Invalid UTF-8 becomes U+FFFD on the way through UTF-16.
  EXPECT_EQ(commands[1], "\xEF\xBF\xBD(");
}

TEST(LinkReaderReadTest, BlobsAreStoredAndReplacedByName) {
  const std::string name = "lrr_replace";
  ReadFixture f(fake::Frame(3, fake::BlobPayload(name, "first")) +
                fake::Frame(3, fake::BlobPayload(name, "2nd")) +
                fake::Frame(3, fake::BlobPayload("LRR_REPLACE", "upper")) +
                fake::Frame(3, fake::BlobPayload("lrr_no_data", "")) +
                fake::Frame(3, std::string(255, 'L') + "long name data"));
  DUIResourceStore& store = DUIResourceStore::Instance();
  ASSERT_TRUE(f.reader.ReadMessage());
  const BlobSnapshot first = store.FindResource(name);
  EXPECT_EQ(BlobText(first), "first");
  ASSERT_TRUE(f.reader.ReadMessage());
  EXPECT_EQ(BlobText(store.FindResource(name)), "2nd");
  EXPECT_EQ(BlobText(first), "first");  // a snapshot taken earlier stays whole
  ASSERT_TRUE(f.reader.ReadMessage());
  EXPECT_EQ(BlobText(store.FindResource("LRR_REPLACE")), "upper");
  EXPECT_EQ(BlobText(store.FindResource(name)), "2nd");
  ASSERT_TRUE(f.reader.ReadMessage());
  const BlobSnapshot empty = store.FindResource("lrr_no_data");
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->size(), 0u);
  ASSERT_TRUE(f.reader.ReadMessage());
  EXPECT_EQ(BlobText(store.FindResource(std::string(255, 'L'))), "long name data");
}

TEST(LinkReaderReadTest, ShortBlobIsDroppedAndTheLinkGoesOn) {
  DUIResourceStore& store = DUIResourceStore::Instance();
  const std::string shortBlob = std::string("lrr_short") + std::string(245, '\0');  // 254 bytes
  ReadFixture f(fake::Frame(3, shortBlob) + fake::Frame(3, "x") + fake::Frame(1, "next"));
  const size_t before = store.Count();
  auto m = f.reader.ReadMessage();
  ASSERT_TRUE(m);
  EXPECT_EQ(m->length, 254);
  ASSERT_TRUE(f.reader.ReadMessage());
  EXPECT_EQ(store.Count(), before);
  EXPECT_FALSE(store.FindResource("lrr_short"));
  auto next = f.reader.ReadMessage();
  ASSERT_TRUE(next);
  EXPECT_EQ(PayloadOf(*next), "next");
}

TEST(LinkReaderReadTest, PeerClosingMidFrameGivesAnEmptyMessageThenNull) {
  const std::string frame = fake::Frame(1, std::string(1000, 'v'));
  ReadFixture f(frame.substr(0, 600), /*closeAfter=*/true);
  auto m = f.reader.ReadMessage();
  ASSERT_TRUE(m);
  EXPECT_EQ(m->type, 1);
  EXPECT_EQ(m->length, 0);
  EXPECT_EQ(m->data, nullptr);
  EXPECT_FALSE(f.reader.ReadMessage());
}

TEST(LinkReaderReadTest, PeerClosingInsideAHeaderEndsTheLink) {
  ReadFixture f(fake::Frame(1, "ok") + fake::Le32(4) + "\x02", /*closeAfter=*/true);
  ASSERT_TRUE(f.reader.ReadMessage());
  EXPECT_FALSE(f.reader.ReadMessage());
}

TEST(LinkReaderReadTest, NegativeAndOversizeLengthsEndTheLink) {
  for (uint32_t length :
       {0xFFFFFFFFu, 0x80000000u, static_cast<uint32_t>(link_wire::kMaxFramePayload) + 1u, 0x7FFFFFFFu}) {
    ReadFixture f(fake::Le32(1) + fake::Le32(length) + std::string(64, 'x'));
    EXPECT_FALSE(f.reader.ReadMessage()) << length;
  }
}

TEST(LinkReaderReadTest, LargeFramesArriveWhole) {
  std::string big(3 * 1024 * 1024 + 17, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 131) >> 3);
  ReadFixture f(fake::Frame(1, big) + fake::Frame(1, "tail"));
  auto m = f.reader.ReadMessage();
  ASSERT_TRUE(m);
  EXPECT_TRUE(PayloadOf(*m) == big);
  auto tail = f.reader.ReadMessage();
  ASSERT_TRUE(tail);
  EXPECT_EQ(PayloadOf(*tail), "tail");
}

// Slow by nature: the link's silence bound is 10 s.
TEST(LinkReaderReadTest, TenSecondsOfSilenceEndsTheReader) {
  ReadFixture f("");
  const ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(f.reader.ReadMessage());
  const ULONGLONG waited = GetTickCount64() - start;
  EXPECT_GE(waited, 9000u);
  EXPECT_LE(waited, 15000u);
  // Heartbeats kept going out while the phone was silent.
  EXPECT_GE(f.phone.Received().size(), 9u + 4 * 8);
}
