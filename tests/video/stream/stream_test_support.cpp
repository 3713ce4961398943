#include <winsock2.h>

#include "tests/video/stream/stream_test_support.h"

#include <algorithm>

#include <gtest/gtest.h>
#include "config/core/app_messages.h"
#include "tests/support/message_only_window.h"

RecordingWindow::RecordingWindow() {
  hwnd_ = CreateMessageOnlyWindow("VelaStreamTestWindow", Proc, this);
}

RecordingWindow::~RecordingWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

size_t RecordingWindow::Count(UINT message) const {
  return static_cast<size_t>(std::count(messages.begin(), messages.end(), message));
}

LRESULT CALLBACK RecordingWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = MessageOnlyWindowOwner<RecordingWindow>(hwnd, msg, lp);
  if (self) {
    if (msg == WM_STREAM_CONNECTED || msg == WM_STREAM_DISCONNECTED || msg == WM_STREAM_CONNECT_FAILED) {
      self->messages.push_back(msg);
      return 0;
    }
    if (msg == WM_LINK_COMMAND) {
      self->commands.push_back(reinterpret_cast<const char*>(lp));
      return 0;
    }
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

namespace {
// The program starts Winsock 2.2 once at start-up; the tests do the same.
class WinsockEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  }
  void TearDown() override { WSACleanup(); }
};
const ::testing::Environment* const kWinsock = ::testing::AddGlobalTestEnvironment(new WinsockEnvironment);
}  // namespace
