// One event the desktop's panel reports, read from its notify command:
//   <command name="notify"><event name="click" id="12" parent_id="3" ...></event></command>
#pragma once
#include <string>

namespace phone_sim {

struct NotifyEvent {
  std::string name;  // click, doubleclick, custom, slider_pos, slider_end
  int id = 0;
  int parent_id = 0;
  int pos = 0;         // slider events
  std::string custom;  // the "event" attribute of a custom event: back, reset
};

// A notify is a few hundred bytes; longer text is not read at all, which
// also bounds the nesting depth the XML parser recurses into.
constexpr size_t kMaxNotifyLength = 4096;

// False for text that is not a notify command with an event carrying a name and an id.
bool ParseNotify(const std::string& utf8, NotifyEvent* event);

}  // namespace phone_sim
