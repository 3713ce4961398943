#include "tools/phone_simulator/panel_model.h"

#include <algorithm>

namespace phone_sim {
namespace {

// At full strength a filter's colour makes up this much of the picture (of 256).
constexpr int kFullStrengthAlpha = 180;

int PageIndex(int page_id) {
  for (int p = 0; p < 3; ++p)
    if (kTilePages[p].id == page_id) return p;
  return -1;
}

std::string Describe(const NotifyEvent& event) {
  return event.name + " id=" + std::to_string(event.id) + " parent_id=" + std::to_string(event.parent_id) +
         ": ";
}

}  // namespace

PanelModel::PanelModel() {
  for (int p = 0; p < 3; ++p)
    state_.selected[p] = kTilePages[p].tiles[0].is_cancel ? kTilePages[p].tiles[0].id : 0;
  state_.adjusting = kTilePages[0].tiles[1].id;  // the adjust page needs a title before any double click
}

int* PanelModel::Values(int filter_id) {
  std::vector<int>& values = values_[filter_id];
  if (values.empty())
    for (const SliderInfo& slider : kSliders) values.push_back(slider.initial);
  return values.data();
}

std::string PanelModel::ConfigCommand() const {
  std::lock_guard<std::mutex> lock(mutex_);
  PanelState state = state_;
  auto found = values_.find(state.adjusting);
  for (int i = 0; i < 3; ++i)
    state.values[i] = found != values_.end() ? found->second[i] : kSliders[i].initial;
  return phone_sim::ConfigCommand(state);
}

std::string PanelModel::SliderModify() {
  std::vector<std::string> sliders;
  const int* values = Values(state_.adjusting);
  for (int i = 0; i < 3; ++i) sliders.push_back(SliderCtrl(kSliders[i], values[i]));
  return ModifyCommand(kAdjustPageId, sliders);
}

std::vector<std::string> PanelModel::Answer(const std::string& utf8, std::string* account) {
  NotifyEvent event;
  if (!ParseNotify(utf8, &event)) {
    *account = "not a notify, ignored";
    return {};
  }
  std::lock_guard<std::mutex> lock(mutex_);
  *account = Describe(event);
  if (event.name == "click") return AnswerClick(event, account);
  if (event.name == "doubleclick") return AnswerDoubleClick(event, account);
  if (event.name == "custom") return AnswerCustom(event, account);
  if (event.name == "slider_pos" || event.name == "slider_end") return TakeSliderValue(event, account);
  *account += "unknown event, ignored";
  return {};
}

// A tab shows its page; a tile becomes its page's selection.
std::vector<std::string> PanelModel::AnswerClick(const NotifyEvent& event, std::string* account) {
  for (const TabInfo& tab : kTabs)
    if (tab.id == event.id) {
      state_.tab = tab.id;
      state_.shown_page = tab.id + kTabToPage;
      *account += std::string("tab ") + tab.name;
      return {ModifyCommand(kRootId, {TabHolderCtrl(state_), PageSwitchCtrl(state_)})};
    }
  const TileInfo* tile = nullptr;
  const TilePage* page = FindTile(event.id, &tile);
  if (!page) {
    *account += "no such tile, ignored";
    return {};
  }
  state_.selected[PageIndex(page->id)] = tile->id;
  *account += std::string(page->title) + " " + tile->name + " selected";
  return {ModifyCommand(kPageSwitchId, {TilePageCtrl(*page, tile->id)})};
}

// A filter other than the untouched picture opens its sliders.
std::vector<std::string> PanelModel::AnswerDoubleClick(const NotifyEvent& event, std::string* account) {
  const TileInfo* tile = nullptr;
  const TilePage* page = FindTile(event.id, &tile);
  if (!page || page->kind != TileKind::kFilter || tile->is_cancel) {
    *account += "nothing to adjust";
    return {};
  }
  state_.adjusting = tile->id;
  state_.shown_page = kAdjustPageId;
  *account += std::string("adjusting ") + tile->name;
  // Title and values first, so the page shows them the moment it appears.
  return {ModifyCommand(kPageSwitchId, {AdjustPageCtrl(state_)}), SliderModify(),
          ModifyCommand(kRootId, {PageSwitchCtrl(state_)})};
}

// The adjust page's buttons: back to the filters, or the filter's initial values.
std::vector<std::string> PanelModel::AnswerCustom(const NotifyEvent& event, std::string* account) {
  if (event.custom == "back") {
    state_.shown_page = kFilterPageId;
    *account += "back to the filters";
    return {ModifyCommand(kRootId, {PageSwitchCtrl(state_)})};
  }
  if (event.custom == "reset") {
    values_.erase(state_.adjusting);
    *account += "sliders reset";
    return {SliderModify()};
  }
  *account += "custom event \"" + event.custom + "\" ignored";
  return {};
}

// The desktop's slider already shows the value: the phone only takes it.
std::vector<std::string> PanelModel::TakeSliderValue(const NotifyEvent& event, std::string* account) {
  const int index = SliderIndex(event.id);
  if (index < 0) {
    *account += "no such slider, ignored";
    return {};
  }
  const SliderInfo& slider = kSliders[index];
  Values(state_.adjusting)[index] = std::min(slider.max, std::max(slider.min, event.pos));
  *account += std::string(slider.name) + "=" + std::to_string(Values(state_.adjusting)[index]);
  return {};
}

PictureTint PanelModel::Tint() const {
  std::lock_guard<std::mutex> lock(mutex_);
  const TileInfo* tile = nullptr;
  if (!FindTile(state_.selected[0], &tile) || tile->is_cancel) return {};
  auto found = values_.find(tile->id);
  const int strength =
      found != values_.end() ? found->second[kStrengthSlider] : kSliders[kStrengthSlider].initial;
  return {tile->colour, strength * kFullStrengthAlpha / 100};
}

}  // namespace phone_sim
