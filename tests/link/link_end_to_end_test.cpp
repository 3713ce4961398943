// Both connection paths end to end against the fake phone: Android through
// the fake adb.exe (port forward, then TCP), iOS through the fake
// libimobiledevice (its device connection is TCP to the fake phone).
#include <gtest/gtest.h>

#include <algorithm>

#include "link/dui_resource_store.h"
#include "link/link_reader.h"
#include "tests/link/command_window.h"
#include "tests/link/fake_phone.h"
#include "tests/support/fake_adb_fixture.h"

using fake::FakePhone;

namespace {

constexpr unsigned kWaitMs = 10000;
using Strings = std::vector<std::string>;

// The part every path shares once the link is up: flags, a video frame, a
// command to the window, a blob, a written command and a heartbeat.
void ExerciseLink(LinkReader& reader, FakePhone& phone, CommandWindow& window, const std::string& blobName) {
  int v = 0, h = 0;
  reader.GetReverseFlags(&v, &h);
  EXPECT_EQ(v, 0);
  EXPECT_EQ(h, 1);

  auto video = reader.ReadMessage();
  ASSERT_TRUE(video);
  EXPECT_TRUE(video->Is(LinkMessageType::Video));
  EXPECT_EQ(PayloadOf(*video), std::string("\x00\x00\x00\x01gop", 7));
  auto command = reader.ReadMessage();
  ASSERT_TRUE(command);
  EXPECT_EQ(window.commands, Strings{"<tab id=\"1\" text=\"滤镜\"/>"});
  auto blob = reader.ReadMessage();
  ASSERT_TRUE(blob);
  const BlobSnapshot stored = DUIResourceStore::Instance().FindResource(blobName);
  ASSERT_TRUE(stored);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(stored->data()), stored->size()), "picture");

  const std::string notify = "<notify id=\"7\" event=\"click\"/>";
  EXPECT_EQ(LinkReader::Current.WriteMessage(LinkMessageType::Command, notify.data(),
                                             static_cast<int32_t>(notify.size())),
            1);
  ASSERT_TRUE(phone.WaitForFrames(4, 1, kWaitMs));
  ASSERT_TRUE(phone.WaitForFrames(5, 1, kWaitMs));  // the heartbeat runs on this transport too
  for (const fake::ReceivedFrame& f : phone.Frames()) {
    if (f.type == 4) {
      EXPECT_EQ(f.payload, notify);
    } else {
      EXPECT_EQ(f.type, 5u);
      EXPECT_TRUE(f.payload.empty());
    }
  }
  EXPECT_EQ(phone.Received().substr(0, 9), std::string("LNK10\0\0\0\0", 9));
}

void ScriptPhone(FakePhone& phone, const std::string& blobName) {
  phone.AnswerGreeting("<config><reverse_v>0</reverse_v><reverse_h>1</reverse_h></config>")
      .Send(fake::Frame(1, std::string("\x00\x00\x00\x01gop", 7)) +
            fake::Frame(4, "<tab id=\"1\" text=\"滤镜\"/>") +
            fake::Frame(3, fake::BlobPayload(blobName, "picture")));
}

}  // namespace

TEST(LinkEndToEndTest, AndroidForwardsThroughAdbThenSpeaksTheLink) {
  FakeAdbFolder adb;
  FakePhone phone;
  ScriptPhone(phone, "e2e_android_blob");
  ASSERT_TRUE(phone.Start());
  CommandWindow window;
  {
    LinkReader reader(window.hwnd());
    // The local forward is always 8984 -> 8984; the TCP connect goes to the
    // port given (the fake phone's).
    ASSERT_EQ(reader.Connect(kDeviceAndroid, "R58M12ABCDE", phone.port()), 1);
    EXPECT_EQ(adb.Records("cmd "), Strings{"adb\\\\adb.exe -s R58M12ABCDE forward tcp:8984 tcp:8984"});
    ExerciseLink(reader, phone, window, "e2e_android_blob");
    reader.Close();
  }
  EXPECT_TRUE(phone.WaitForDesktopClose(kWaitMs));
}

TEST(LinkEndToEndTest, AndroidWithoutAdbFailsBeforeAnyTcp) {
  FakeAdbFolder noAdb(/*withAdb=*/false);
  FakePhone phone;
  phone.AnswerGreeting();
  ASSERT_TRUE(phone.Start());
  LinkReader reader;
  EXPECT_EQ(reader.Connect(kDeviceAndroid, "SER", phone.port()), 0);
  EXPECT_EQ(reader.IsConnected(), 0);
  EXPECT_EQ(phone.Received(), "");
}

TEST(LinkEndToEndTest, IosConnectsThroughUsbmuxThenSpeaksTheLink) {
  FakePhone phone;
  ScriptPhone(phone, "e2e_ios_blob");
  ASSERT_TRUE(phone.Start());
  FakeIdeviceScenario idevice;
  idevice.Set("device 00008030-001A2B3C4D5E port=" + std::to_string(phone.port()) + " name=Test iPhone\n");
  CommandWindow window;
  {
    LinkReader reader(window.hwnd());
    ASSERT_EQ(reader.Connect(kDeviceIos, "00008030-001A2B3C4D5E", 8984), 1);
    ExerciseLink(reader, phone, window, "e2e_ios_blob");
    reader.Close();
    EXPECT_EQ(FakeIdeviceScenario::Outstanding(), 0);
  }
  EXPECT_TRUE(phone.WaitForDesktopClose(kWaitMs));
  const Strings records = idevice.Records();
  const Strings expectedStart = {"new 00008030-001A2B3C4D5E", "connect 00008030-001A2B3C4D5E 8984",
                                 "handshake 00008030-001A2B3C4D5E lumora"};
  ASSERT_GE(records.size(), expectedStart.size());
  EXPECT_EQ(Strings(records.begin(), records.begin() + 3), expectedStart);
  // Released in the order lockdown client, connection, device.
  const Strings expectedEnd = {"lockdown_free 00008030-001A2B3C4D5E", "disconnect 00008030-001A2B3C4D5E",
                               "free 00008030-001A2B3C4D5E"};
  ASSERT_GE(records.size(), 6u);
  EXPECT_EQ(Strings(records.end() - 3, records.end()), expectedEnd);
  // Close and then destruction released each handle once.
  for (const std::string& release : expectedEnd)
    EXPECT_EQ(std::count(records.begin(), records.end(), release), 1) << release;
}

TEST(LinkEndToEndTest, IosFailuresReleaseWhatWasOpened) {
  FakePhone phone;
  phone.AnswerGreeting();
  ASSERT_TRUE(phone.Start());
  FakeIdeviceScenario idevice;
  const std::string port = std::to_string(phone.port());
  idevice.Set("device NEWFAIL new=fail port=" + port + "\n" + "device CONNFAIL connect=fail port=" + port +
              "\n" + "device LOCKFAIL lockdown=fail port=" + port + "\n");
  for (const char* udid : {"NEWFAIL", "CONNFAIL", "LOCKFAIL", "MISSING"}) {
    LinkReader reader;
    EXPECT_EQ(reader.Connect(kDeviceIos, udid, 8984), 0) << udid;
    EXPECT_EQ(reader.IsConnected(), 0);
    EXPECT_EQ(FakeIdeviceScenario::Outstanding(), 0) << udid;
  }
}
