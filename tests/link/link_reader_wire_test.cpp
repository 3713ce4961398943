// Byte-exact checks of what the desktop puts on the wire: the greeting, the
// heartbeat and written frames, against a fake phone on loopback TCP.
#include <gtest/gtest.h>

#include "link/link_reader.h"
#include "tests/link/fake_phone.h"
#include "tests/link/loopback_link.h"

using fake::FakePhone;

namespace {

constexpr unsigned kWaitMs = 10000;
const std::string kGreeting("LNK10\0\0\0\0", 9);

}  // namespace

TEST(LinkReaderWireTest, GreetingIsMagicThenEmptyConfigurationAfterTheAnswer) {
  FakePhone phone;
  phone.Expect(5).Send(fake::Greeting("<cfg><reverse_v>1</reverse_v><reverse_h>0</reverse_h></cfg>"));
  ASSERT_TRUE(phone.Start());
  LinkReader reader;
  ASSERT_EQ(reader.ConnectLoopback(phone.port()), 1);
  EXPECT_EQ(reader.IsConnected(), 1);
  ASSERT_TRUE(phone.WaitForBytes(9, kWaitMs));
  // The phone answered only after it had the 5 magic bytes; the zero word can
  // only follow the answer.
  EXPECT_EQ(phone.Received().substr(0, 9), kGreeting);
  int v = -1, h = -1;
  reader.GetReverseFlags(&v, &h);
  EXPECT_EQ(v, 1);
  EXPECT_EQ(h, 0);
}

TEST(LinkReaderWireTest, HeartbeatFramesAboutEveryTwoSecondsAfterTheGreeting) {
  FakePhone phone;
  LinkReader reader;
  ASSERT_TRUE(ConnectToGreetingPhone(phone, reader));
  const ULONGLONG connectedAt = GetTickCount64();

  ASSERT_TRUE(phone.WaitForBytes(17, kWaitMs));
  EXPECT_EQ(phone.Received().substr(9, 8), std::string("\x05\0\0\0\0\0\0\0", 8));
  const ULONGLONG first = phone.ArrivalTick(9);
  EXPECT_GE(first - connectedAt, 1500u);
  EXPECT_LE(first - connectedAt, 3500u);

  ASSERT_TRUE(phone.WaitForBytes(25, kWaitMs));
  EXPECT_EQ(phone.Received().substr(17, 8), std::string("\x05\0\0\0\0\0\0\0", 8));
  const ULONGLONG second = phone.ArrivalTick(17);
  EXPECT_GE(second - first, 1500u);
  EXPECT_LE(second - first, 3000u);
}

TEST(LinkReaderWireTest, WrittenFramesAreExact) {
  FakePhone phone;
  LinkReader reader;
  ASSERT_TRUE(ConnectToGreetingPhone(phone, reader));

  // An empty payload is exactly the 8 header bytes.
  EXPECT_EQ(reader.WriteMessage(LinkMessageType::Command, nullptr, 0), 1);
  std::string video(1000, '\0');
  for (size_t i = 0; i < video.size(); ++i) video[i] = static_cast<char>(i * 7);
  EXPECT_EQ(reader.WriteMessage(LinkMessageType::Video, video.data(), 1000), 1);
  LinkMessage message;
  message.type = static_cast<uint16_t>(LinkMessageType::Command);
  const std::string xml = "<notify id=\"3\" text=\"滤镜\"/>";
  message.data.reset(new uint8_t[xml.size()]);
  std::copy(xml.begin(), xml.end(), message.data.get());
  message.length = static_cast<int32_t>(xml.size());
  EXPECT_EQ(reader.WriteMessage(message), 1);

  const std::string expected = kGreeting + std::string("\x04\0\0\0\0\0\0\0", 8) +
                               std::string("\x01\0\0\0\xE8\x03\0\0", 8) + video + fake::Frame(4, xml);
  ASSERT_TRUE(phone.WaitForBytes(expected.size(), kWaitMs));
  EXPECT_EQ(phone.Received().substr(0, expected.size()), expected);
}

TEST(LinkReaderWireTest, NothingIsWrittenBeforeTheGreetingOrAfterClose) {
  FakePhone phone;
  phone.AnswerGreeting();
  ASSERT_TRUE(phone.Start());
  LinkReader reader;
  EXPECT_EQ(reader.WriteMessage(LinkMessageType::Command, "x", 1), 0);
  ASSERT_EQ(reader.ConnectLoopback(phone.port()), 1);
  reader.Close();
  EXPECT_EQ(reader.IsConnected(), 0);
  EXPECT_EQ(reader.WriteMessage(LinkMessageType::Command, "x", 1), 0);
  reader.Close();  // a second Close is harmless
  ASSERT_TRUE(phone.WaitForDesktopClose(kWaitMs));
  EXPECT_EQ(phone.Received(), kGreeting);
}

TEST(LinkReaderWireTest, InvalidWriteArgumentsSendNothing) {
  FakePhone phone;
  LinkReader reader;
  ASSERT_TRUE(ConnectToGreetingPhone(phone, reader));
  EXPECT_EQ(reader.WriteMessage(LinkMessageType::Video, nullptr, 10), 0);
  EXPECT_EQ(reader.WriteMessage(LinkMessageType::Video, "abc", -3), 0);
  EXPECT_EQ(reader.WriteMessage(LinkMessageType::Command, "ok", 2), 1);
  const std::string expected = kGreeting + fake::Frame(4, "ok");
  ASSERT_TRUE(phone.WaitForBytes(expected.size(), kWaitMs));
  EXPECT_EQ(phone.Received().substr(0, expected.size()), expected);
}
