// The greeting against phones that answer right, wrong or not at all.
#include <gtest/gtest.h>

#include "link/core/frame_header.h"
#include "link/link_reader.h"
#include "tests/link/fake_phone.h"
#include "tests/link/loopback_link.h"

using fake::FakePhone;

namespace {

constexpr unsigned kWaitMs = 10000;

struct Outcome {
  int connected;
  int reverseV;
  int reverseH;
  std::string sent;
};

// Plays `answer` after the desktop's magic (then closes when asked) and
// reports what Connect made of it.
Outcome Greet(const std::string& answer, bool closeAfter = false) {
  FakePhone phone;
  phone.Expect(5).Send(answer);
  if (closeAfter) phone.CloseConnection();
  EXPECT_TRUE(phone.Start());
  Outcome out;
  {
    LinkReader reader;
    out.connected = reader.ConnectLoopback(phone.port());
    EXPECT_EQ(reader.IsConnected(), out.connected);
    reader.GetReverseFlags(&out.reverseV, &out.reverseH);
    if (!out.connected) {
      // A failed greeting closes the transport at once.
      EXPECT_TRUE(phone.WaitForDesktopClose(kWaitMs));
    }
  }
  EXPECT_TRUE(phone.WaitForDesktopClose(kWaitMs));
  out.sent = phone.Received();
  return out;
}

const std::string kFullGreeting("LNK10\0\0\0\0", 9);

}  // namespace

TEST(LinkReaderHandshakeTest, ReverseFlagsFromTheConfiguration) {
  Outcome o = Greet(fake::Greeting("<c><reverse_v>1</reverse_v><reverse_h>1</reverse_h></c>"));
  EXPECT_EQ(o.connected, 1);
  EXPECT_EQ(o.reverseV, 1);
  EXPECT_EQ(o.reverseH, 1);
  EXPECT_EQ(o.sent, kFullGreeting);

  o = Greet(fake::Greeting("<c><reverse_h> 2</reverse_h></c>"));
  EXPECT_EQ(o.connected, 1);
  EXPECT_EQ(o.reverseV, 0);
  EXPECT_EQ(o.reverseH, 2);
}

TEST(LinkReaderHandshakeTest, EmptyOrMalformedConfigurationIsAcceptedWithFlagsClear) {
  for (const std::string& answer : {fake::Greeting(""), fake::Greeting("<c><reverse_v>1</reverse_v"),
                                    "LNK10" + fake::Le32(0xFFFFFFFFu)}) {
    const Outcome o = Greet(answer);
    EXPECT_EQ(o.connected, 1);
    EXPECT_EQ(o.reverseV, 0);
    EXPECT_EQ(o.reverseH, 0);
    EXPECT_EQ(o.sent, kFullGreeting);
  }
}

TEST(LinkReaderHandshakeTest, WrongMagicFails) {
  for (const char* magic : {"LNK11", "lnk10", "XXXXX", "LNK1\0"}) {
    const Outcome o = Greet(std::string(magic, 5) + fake::Le32(0));
    EXPECT_EQ(o.connected, 0) << magic;
    EXPECT_EQ(o.sent, "LNK10");
  }
}

TEST(LinkReaderHandshakeTest, PeerClosingAnywhereInTheGreetingFails) {
  const std::string full = fake::Greeting("<c><reverse_v>1</reverse_v></c>");
  for (size_t cut : {size_t{0}, size_t{3}, size_t{5}, size_t{8}, size_t{9}, full.size() - 1}) {
    const Outcome o = Greet(full.substr(0, cut), /*closeAfter=*/true);
    EXPECT_EQ(o.connected, 0) << cut;
    EXPECT_EQ(o.sent, "LNK10");
  }
}

TEST(LinkReaderHandshakeTest, OversizeConfigurationLengthFails) {
  const Outcome o = Greet("LNK10" + fake::Le32(link_wire::kMaxConfigLength + 1u));
  EXPECT_EQ(o.connected, 0);
}

TEST(LinkReaderHandshakeTest, ConnectWithNothingListeningFails) {
  const uint16_t unused = UnusedLoopbackPort();
  ASSERT_NE(unused, 0);
  LinkReader reader;
  EXPECT_EQ(reader.ConnectLoopback(unused), 0);
  EXPECT_EQ(reader.IsConnected(), 0);
  EXPECT_EQ(reader.WriteMessage(LinkMessageType::Command, "x", 1), 0);
}

TEST(LinkReaderHandshakeTest, UnknownKindFailsWithoutTransport) {
  LinkReader reader;
  EXPECT_EQ(reader.Connect(0, "serial", 8984), 0);
  EXPECT_EQ(reader.Connect(3, "serial", 8984), 0);
  EXPECT_EQ(reader.IsConnected(), 0);
}
