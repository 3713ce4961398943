// The greeting over a real socket: what the transport owns (a phone that
// closes part-way, nothing listening, a failed greeting closing the link).
// The bytes of the greeting are checked in the portable greeting tests.
#include <gtest/gtest.h>

#include <vector>

#include "link/link_reader.h"
#include "tests/support/fake_phone.h"

using fake::FakePhone;

// A phone that closes anywhere in the greeting, or answers wrongly and stays:
// the greeting fails and the desktop ends the link at once.
TEST(LinkReaderHandshakeTest, CutOrWrongGreetingFailsAndClosesTheLink) {
  const std::string full = fake::Greeting("<c><reverse_v>1</reverse_v></c>");
  std::vector<std::string> answers = {"LNK11" + Le32(0)};
  for (size_t cut : {size_t{0}, size_t{3}, size_t{5}, size_t{8}, size_t{9}, full.size() - 1})
    answers.push_back(full.substr(0, cut));
  for (const std::string& answer : answers) {
    FakePhone phone;
    phone.Expect(5).Send(answer);
    if (answer.rfind("LNK11", 0) != 0) phone.CloseConnection();  // the wrong answer stays
    ASSERT_TRUE(phone.Start());
    LinkReader reader;
    EXPECT_EQ(reader.ConnectLoopback(phone.port()), 0) << answer.size();
    EXPECT_EQ(reader.IsConnected(), 0);
    EXPECT_TRUE(phone.WaitForDesktopClose(10000));  // the reader is still alive
    EXPECT_EQ(phone.Received(), "LNK10");
    EXPECT_EQ(reader.WriteMessage(LinkMessageType::Command, "x", 1), 0);
  }
}

TEST(LinkReaderHandshakeTest, NothingListeningOrUnknownKindFails) {
  uint16_t unused = 0;
  {
    FakePhone gone;  // a port that was listened on a moment ago
    ASSERT_TRUE(gone.Start());
    unused = gone.port();
  }
  LinkReader reader;
  EXPECT_EQ(reader.ConnectLoopback(unused), 0);
  EXPECT_EQ(reader.Connect(0, "serial", 8984), 0);
  EXPECT_EQ(reader.Connect(3, "serial", 8984), 0);
  EXPECT_EQ(reader.IsConnected(), 0);
  EXPECT_EQ(reader.WriteMessage(LinkMessageType::Command, "x", 1), 0);
}
