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

TEST(DUIManagerSenderTest, EventsWaitForALinkAndThenGoOutInOrderBeforeTheNextOne) {
  DUIManager manager(nullptr);
  std::unique_ptr<DUICtrl> first = Control(11), second = Control(12), third = Control(13);
  manager.SendEvent(*first, "click", {});
  manager.SendEvent(*second, "click", {});
  EXPECT_EQ(manager.QueuedEvents(), (std::vector<std::string>{Click(11), Click(12)}));

  fake::FakePhone phone;
  LinkReader reader;
  ASSERT_TRUE(phone.ConnectGreeted(reader));
  manager.SendEvent(*third, "click", {});
  ASSERT_TRUE(phone.WaitForFrames(4, 3, kWaitMs));
  std::vector<std::string> sent;
  for (const fake::ReceivedFrame& frame : phone.Frames())
    if (frame.type == 4) sent.push_back(frame.payload);
  EXPECT_EQ(sent, (std::vector<std::string>{Click(11), Click(12), Click(13)}));
  EXPECT_TRUE(manager.QueuedEvents().empty());
}

// A burst from the window thread while the sender drains: no event is
// stranded in the queue and none is written twice or out of order.
TEST(DUIManagerSenderTest, ABurstIsWrittenWholeAndInOrder) {
  fake::FakePhone phone;
  LinkReader reader;
  ASSERT_TRUE(phone.ConnectGreeted(reader));
  DUIManager manager(nullptr);
  constexpr int kEvents = 300;
  std::vector<std::unique_ptr<DUICtrl>> controls;
  std::vector<std::string> expected;
  for (int i = 0; i < kEvents; ++i) {
    controls.push_back(Control(i));
    manager.SendEvent(*controls.back(), "click", {});
    expected.push_back(Click(i));
  }
  ASSERT_TRUE(phone.WaitForFrames(4, kEvents, kWaitMs));
  std::vector<std::string> sent;
  for (const fake::ReceivedFrame& frame : phone.Frames())
    if (frame.type == 4) sent.push_back(frame.payload);
  EXPECT_EQ(sent, expected);
}
