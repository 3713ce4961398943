// The XML commands the simulated phone sends to build and change the
// desktop's panel. Every control description carries the control's whole
// attribute set: a "modify" replaces what the desktop holds, so anything
// left out would fall back to its default there.
#pragma once
#include <string>
#include <vector>

#include "tools/phone_simulator/panel_catalog.h"

namespace phone_sim {

// What the panel shows, as the phone decides it.
struct PanelState {
  int tab = kTabs[0].id;           // the selected tab
  int shown_page = kFilterPageId;  // the page the page area shows
  int selected[3] = {};            // the selected tile of each page of kTilePages (0: none)
  int adjusting = 0;               // the filter the adjust page belongs to (0: none yet)
  int values[3] = {};              // that filter's slider values, in kSliders order
};

// "config": the whole tree, from the root down to every tile and slider.
std::string ConfigCommand(const PanelState& state);
// "modify" of the children `ctrls` (descriptions below) of control `parent_id`.
std::string ModifyCommand(int parent_id, const std::vector<std::string>& ctrls);

// Descriptions of single controls, without their children.
std::string TabHolderCtrl(const PanelState& state);
std::string PageSwitchCtrl(const PanelState& state);
std::string TilePageCtrl(const TilePage& page, int selected);
std::string AdjustPageCtrl(const PanelState& state);
std::string SliderCtrl(const SliderInfo& slider, int value);

}  // namespace phone_sim
