// HttpGet against the real configuration server on 127.0.0.1: whole bodies,
// the bounds, each way a server can fail, and a cancel from another thread
// that ends a transfer the server never answers.
#include "config/http_client.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/worker_thread.h"
#include "tests/config/config_server_fixture.h"
#include "tests/support/pump.h"

namespace {

constexpr size_t kFourMiB = 4 << 20;

// The server's pattern for /body/N: byte i is i * 7 mod 251.
bool IsPattern(const std::string& body) {
  for (size_t i = 0; i < body.size(); ++i)
    if (static_cast<unsigned char>(body[i]) != (i % 251) * 7 % 251) return false;
  return true;
}

TEST(HttpGetTest, BodiesArriveWholeAndEveryFailureIsZeroWithItsReason) {
  struct Case {
    const char* name;
    std::string url;
    size_t length;
    const char* error;  // the start of the error text
  } cases[] = {
      {"2 MiB, past the first buffer", ServerUrl("/body/2097152"), 2097152, ""},
      {"garbage is still a body", ServerUrl("/fault/garbage"), 4096, ""},
      {"50 MiB past the bound", ServerUrl("/fault/huge"), 0, "文件下载失败，内容超过上限（4194304字节）！\n"},
      {"500", ServerUrl("/fault/500"), 0, "服务器返回错误，状态号：500\n"},
      {"not found", ServerUrl("/no/such/file"), 0, "服务器返回错误，状态号：404\n"},
      {"empty body", ServerUrl("/body/0"), 0, ""},
      {"cut-off body", ServerUrl("/fault/cut"), 0, "文件下载失败，内容不完整（1000/100000字节）！\n"},
      {"closed without an answer", ServerUrl("/fault/close"), 0, "服务器未返回有效应答！\n"},
      {"no server", AbsentServerUrl("/config.php"), 0, "发送请求失败， 错误号："},
      {"address ends after its host", "http://127.0.0.1", 0, "Url地址错误！\n"},
      {"port is not a number", "http://127.0.0.1:x/config.php", 0, "Url地址错误！\n"},
  };
  for (const Case& c : cases) {
    std::string body = "stale", error;
    HttpOptions options;
    options.maxBytes = kFourMiB;
    EXPECT_EQ(c.length, HttpGet(c.url, body, error, options)) << c.name;
    EXPECT_EQ(c.length, body.size()) << c.name;
    EXPECT_TRUE(IsPattern(body) || c.length == 4096) << c.name;
    EXPECT_EQ(0u, error.find(c.error)) << c.name << ": " << error;
    if (c.length) {
      EXPECT_EQ("", error) << c.name;
    }
  }
}

TEST(HttpGetTest, CancelFromAnotherThreadEndsATransferTheServerNeverAnswers) {
  HttpCancel cancel;
  HttpOptions options;
  options.cancel = &cancel;
  std::string body, error;
  size_t length = 1;
  const int before = LoggedRequests("path=/fault/hang");
  WorkerThread transfer;
  ASSERT_TRUE(transfer.Start([&] { length = HttpGet(ServerUrl("/fault/hang"), body, error, options); }));
  ASSERT_TRUE(PumpUntil([&] { return LoggedRequests("path=/fault/hang") > before; }, 10000));

  DWORD start = GetTickCount();
  cancel.Cancel();
  ASSERT_TRUE(transfer.JoinPumping(5000));
  EXPECT_LT(GetTickCount() - start, 3000u);
  EXPECT_EQ(0u, length);
  EXPECT_EQ("请求已取消\n", error);

  // Until Reset, later transfers end at once; after it they run again.
  error.clear();
  EXPECT_EQ(0u, HttpGet(ServerUrl("/body/10"), body, error, options));
  EXPECT_EQ("请求已取消\n", error);
  cancel.Reset();
  EXPECT_EQ(10u, HttpGet(ServerUrl("/body/10"), body, error = "", options));
}

}  // namespace
