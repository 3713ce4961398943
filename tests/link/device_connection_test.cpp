// The transport primitives, with a handshake that does nothing so the raw
// bytes can be checked.
#include "link/device_connection.h"

#include <gtest/gtest.h>

#include <future>

#include "framework/handles.h"
#include "tests/support/fake_phone.h"

using fake::FakePhone;

namespace {

constexpr unsigned kWaitMs = 10000;

class RawConnection : public DeviceConnection {
 public:
  ~RawConnection() override { Close(); }
  int handshakes = 0;

 protected:
  bool Handshake() override {
    ++handshakes;
    return true;
  }
};

}  // namespace

// Exact counts in pieces; bytes not read yet are seen waiting; a peer that
// closes in the middle of a read gives the bytes so far, then 0. Counts below 1, and any after Close or before a
// transport, give 0.
TEST(DeviceConnectionTest, SendsAndReceivesExactCountsUntilThePeerCloses) {
  char buf[16] = {};
  RawConnection c;
  EXPECT_EQ(c.Send("ab", 2), 0);  // no transport yet
  EXPECT_EQ(c.Recv(buf, 2), 0);
  EXPECT_FALSE(c.HasWaitingBytes());
  FakePhone phone;
  phone.Expect(6).Send("0123456789hello").CloseConnection();
  ASSERT_TRUE(phone.Start());
  ASSERT_EQ(c.ConnectLoopback(phone.port()), 1);
  EXPECT_EQ(c.handshakes, 1);
  EXPECT_EQ(c.IsConnected(), 1);
  EXPECT_EQ(c.Send(buf, 0), 0);
  EXPECT_EQ(c.Send(buf, -1), 0);
  EXPECT_EQ(c.Recv(buf, 0), 0);
  EXPECT_EQ(c.Recv(buf, -5), 0);
  EXPECT_EQ(c.Send("abcdef", 6), 6);
  EXPECT_EQ(c.Recv(buf, 4), 4);
  EXPECT_EQ(std::string(buf, 4), "0123");
  EXPECT_TRUE(c.HasWaitingBytes()) << "the rest came in the same write";
  EXPECT_EQ(c.Recv(buf, 6), 6);
  EXPECT_EQ(std::string(buf, 6), "456789");
  EXPECT_EQ(c.Recv(buf, 16), 5);
  EXPECT_EQ(std::string(buf, 5), "hello");
  EXPECT_FALSE(c.HasWaitingBytes());
  EXPECT_EQ(c.Recv(buf, 1), 0);
  EXPECT_EQ(phone.Received(), "abcdef");
  c.Close();
  EXPECT_EQ(c.IsConnected(), 0);
  EXPECT_EQ(c.Send("ab", 2), 0);
  EXPECT_EQ(c.Recv(buf, 2), 0);
  c.Close();
}

TEST(DeviceConnectionTest, CloseFromAnotherThreadEndsAWaitingRecv) {
  FakePhone phone;  // connected but silent
  ASSERT_TRUE(phone.Start());
  RawConnection c;
  ASSERT_EQ(c.ConnectLoopback(phone.port()), 1);
  UniqueHandle readingStarted(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  auto reading = std::async(std::launch::async, [&] {
    char buf[4];
    SetEvent(readingStarted.get());
    return c.Recv(buf, 4);
  });
  ASSERT_EQ(WaitForSingleObject(readingStarted.get(), kWaitMs), static_cast<DWORD>(WAIT_OBJECT_0));
  // Close waits for the receive to let go of the socket; the receive notices
  // the Close long before its 10 s silence bound, and so does Close return.
  c.Close();
  ASSERT_EQ(reading.wait_for(std::chrono::milliseconds(3000)), std::future_status::ready);
  EXPECT_LT(reading.get(), 4);
  EXPECT_EQ(c.IsConnected(), 0);
}

TEST(DeviceConnectionTest, CloseWhileASendIsBlockedOnAnotherThread) {
  FakePhone deaf;  // reads nothing: the send blocks once the socket buffers are full
  deaf.Hold();
  ASSERT_TRUE(deaf.Start());
  RawConnection c;
  ASSERT_EQ(c.ConnectLoopback(deaf.port()), 1);

  const int kBig = 64 * 1024 * 1024;  // far more than the socket buffers take
  std::unique_ptr<char[]> data(new char[kBig]());
  UniqueHandle sending(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  auto sender = std::async(std::launch::async, [&] {
    SetEvent(sending.get());
    return c.Send(data.get(), kBig);
  });
  ASSERT_EQ(WaitForSingleObject(sending.get(), kWaitMs), static_cast<DWORD>(WAIT_OBJECT_0));
  c.Close();  // must not free the socket under the send
  ASSERT_EQ(sender.wait_for(std::chrono::milliseconds(3 * kWaitMs)), std::future_status::ready);
  EXPECT_NE(sender.get(), kBig);
  EXPECT_EQ(c.Send("x", 1), 0);
}
