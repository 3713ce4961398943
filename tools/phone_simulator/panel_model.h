// The simulated phone app's side of the control panel: what it shows (the
// selected tab, page and tiles, each filter's slider values) and how it
// answers the desktop's events, as the phone app would. The desktop never
// changes the panel by itself; every change comes from these answers.
// Thread-safe: the session thread answers events while the video thread
// reads the tint.
#pragma once
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "tools/phone_simulator/notify_event.h"
#include "tools/phone_simulator/panel_commands.h"
#include "tools/phone_simulator/picture_renderer.h"

namespace phone_sim {

class PanelModel {
 public:
  // Starts on the filter tab with the untouched picture ("原图") selected.
  PanelModel();

  // The "config" command that builds the whole panel as it stands.
  std::string ConfigCommand() const;
  // The commands that answer the desktop's command `utf8` (none for events
  // that only change the phone's state, and for anything not understood).
  // *account gets one line saying what the event did.
  std::vector<std::string> Answer(const std::string& utf8, std::string* account);
  // The selected filter's effect on the picture: none for the untouched picture.
  PictureTint Tint() const;

 private:
  std::vector<std::string> AnswerClick(const NotifyEvent& event, std::string* account);
  std::vector<std::string> AnswerDoubleClick(const NotifyEvent& event, std::string* account);
  std::vector<std::string> AnswerCustom(const NotifyEvent& event, std::string* account);
  std::vector<std::string> TakeSliderValue(const NotifyEvent& event, std::string* account);
  // The modify that shows the adjusted filter's values on its sliders.
  std::string SliderModify();
  // The adjusted filter's values, kept per filter as the phone app keeps them.
  int* Values(int filter_id);

  mutable std::mutex mutex_;
  PanelState state_;
  std::map<int, std::vector<int>> values_;  // by filter id; a filter not yet adjusted has the initial values
};

}  // namespace phone_sim
