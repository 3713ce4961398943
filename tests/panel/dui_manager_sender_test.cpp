// The panel's events on their way to the phone: queued while no link exists,
// then written in order, each as one Command frame, by the sender thread.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "panel/dui_main.h"
#include "panel/dui_manager.h"
#include "tests/support/fake_phone.h"

namespace {

constexpr unsigned kWaitMs = 10000;

std::unique_ptr<DUICtrl> Control(int id) {
  auto control = std::make_unique<DUIMain>();
  auto attributes = std::make_unique<AttributeList>();
  attributes->Add("id", std::to_string(id));
  control->SetAttributes(std::move(attributes));
  return control;
}

std::string Click(int id) {
  return "<command name=\"notify\"><event name=\"click\" id=\"" + std::to_string(id) +
         "\" parent_id=\"0\"></event></command>";
}

}  // namespace

// Queued before the link, then a burst while the sender drains: no event is
// stranded, written twice or out of order.
TEST(DUIManagerSenderTest, EventsWaitForALinkAndThenGoOutWholeAndInOrder) {
  DUIManager manager(nullptr);
  constexpr int kEvents = 300;
  std::vector<std::unique_ptr<DUICtrl>> controls;
  std::vector<std::string> expected;
  auto send = [&](int id) {
    controls.push_back(Control(id));
    manager.SendEvent(*controls.back(), "click", {});
    expected.push_back(Click(id));
  };
  send(0);
  send(1);
  EXPECT_EQ(manager.QueuedEvents(), expected);

  fake::FakePhone phone;
  LinkReader reader;
  ASSERT_TRUE(phone.ConnectGreeted(reader));
  for (int i = 2; i < kEvents; ++i) send(i);
  ASSERT_TRUE(phone.WaitForFrames(4, kEvents, kWaitMs));
  std::vector<std::string> sent;
  for (const fake::ReceivedFrame& frame : phone.Frames())
    if (frame.type == 4) sent.push_back(frame.payload);
  EXPECT_EQ(sent, expected);
  EXPECT_TRUE(manager.QueuedEvents().empty());
}
