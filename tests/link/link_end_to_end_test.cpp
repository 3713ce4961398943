// Both connection paths end to end against the fake phone: Android through
// the fake adb.exe (port forward, then TCP), iOS through the fake
// libimobiledevice (its device connection is TCP to the fake phone).
#include <gtest/gtest.h>

#include <functional>

#include "link/dui_resource_store.h"
#include "link/link_reader.h"
#include "tests/link/command_window.h"
#include "tests/link/core/memory_channel.h"
#include "tests/support/fake_phone.h"
#include "tests/support/fake_adb_fixture.h"

using fake::FakePhone;

namespace {

constexpr unsigned kWaitMs = 10000;
using Strings = std::vector<std::string>;
const std::string kVideo("\x00\x00\x00\x01gop", 7);
const std::string kCommand = "<tab id=\"1\" text=\"滤镜\"/>";
const std::string kNotify = "<notify id=\"7\" event=\"click\"/>";

// A phone that sends flags, a video frame, a command and a blob; `connect`
// brings a reader up to it. Then what every path shares once the link is
// up: the command reaches the window, the blob the store, a written command
// and the heartbeat the phone.
void ExerciseLink(const std::string& blobName,
                  const std::function<int(LinkReader&, uint16_t port)>& connect) {
  FakePhone phone;
  phone.AnswerGreeting("<config><reverse_v>0</reverse_v><reverse_h>1</reverse_h></config>")
      .Send(Frame(1, kVideo) + Frame(4, kCommand) + Frame(3, fake::BlobPayload(blobName, "picture")));
  ASSERT_TRUE(phone.Start());
  CommandWindow window;
  {
    LinkReader reader(window.hwnd());
    ASSERT_EQ(connect(reader, phone.port()), 1);
    int v = -1, h = -1;
    reader.GetReverseFlags(&v, &h);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(h, 1);
    EXPECT_TRUE(IsMessage(reader.ReadMessage(), 1, kVideo));
    EXPECT_TRUE(IsMessage(reader.ReadMessage(), 4, kCommand));
    EXPECT_EQ(window.commands, Strings{kCommand});
    EXPECT_TRUE(reader.ReadMessage());
    const BlobSnapshot stored = DUIResourceStore::Instance().FindResource(blobName);
    ASSERT_TRUE(stored);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stored->data()), stored->size()), "picture");

    EXPECT_EQ(LinkReader::Current.WriteMessage(LinkMessageType::Command, kNotify.data(),
                                               static_cast<int32_t>(kNotify.size())),
              1);
    ASSERT_TRUE(phone.WaitForFrames(4, 1, kWaitMs));
    ASSERT_TRUE(phone.WaitForFrames(5, 1, kWaitMs));  // the heartbeat runs on this transport too
    for (const fake::ReceivedFrame& f : phone.Frames())
      EXPECT_TRUE((f.type == 4 && f.payload == kNotify) || (f.type == 5 && f.payload.empty())) << f.type;
    EXPECT_EQ(phone.Received().substr(0, 9), std::string("LNK10\0\0\0\0", 9));
    reader.Close();
  }
  EXPECT_TRUE(phone.WaitForDesktopClose(kWaitMs));
}

}  // namespace

TEST(LinkEndToEndTest, AndroidForwardsThroughAdbThenSpeaksTheLink) {
  FakeAdbFolder adb;
  ExerciseLink("e2e_android_blob", [&](LinkReader& reader, uint16_t port) {
    // The local forward is always 8984 -> 8984; the TCP connect goes to the
    // port given (the fake phone's).
    const int connected = reader.Connect(kDeviceAndroid, "R58M12ABCDE", port);
    EXPECT_EQ(adb.Records("cmd "), Strings{"adb\\\\adb.exe -s R58M12ABCDE forward tcp:8984 tcp:8984"});
    return connected;
  });
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
  FakeIdeviceScenario idevice;
  const std::string udid = "00008030-001A2B3C4D5E";
  ExerciseLink("e2e_ios_blob", [&](LinkReader& reader, uint16_t port) {
    idevice.Set("device " + udid + " port=" + std::to_string(port) + " name=Test iPhone\n");
    return reader.Connect(kDeviceIos, udid.c_str(), 8984);
  });
  EXPECT_EQ(FakeIdeviceScenario::Outstanding(), 0);
  // Released once each, in the order lockdown client, connection, device,
  // though both Close and destruction ran.
  EXPECT_EQ(idevice.Records(),
            (Strings{"new " + udid, "connect " + udid + " 8984", "handshake " + udid + " lumora",
                     "lockdown_free " + udid, "disconnect " + udid, "free " + udid}));
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
