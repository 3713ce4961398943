#include "tests/link/loopback_link.h"

::testing::AssertionResult ConnectToGreetingPhone(fake::FakePhone& phone, LinkReader& reader) {
  phone.AnswerGreeting().ParseFramesFrom(9);
  if (!phone.Start()) return ::testing::AssertionFailure() << "the fake phone did not start";
  const int connected = reader.ConnectLoopback(phone.port());
  if (connected != 1) return ::testing::AssertionFailure() << "ConnectLoopback returned " << connected;
  return ::testing::AssertionSuccess();
}

uint16_t UnusedLoopbackPort() {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return 0;
  sockaddr_in addr = {};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int len = sizeof(addr);
  const bool bound = bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0 &&
                     getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) == 0;
  closesocket(s);
  return bound ? ntohs(addr.sin_port) : 0;
}
