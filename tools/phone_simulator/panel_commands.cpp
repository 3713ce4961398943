#include "tools/phone_simulator/panel_commands.h"

#include <utility>

namespace phone_sim {
namespace {

// One <ctrl> element: attributes in the order added. The phone's own texts
// hold no character that XML would need escaped.
class CtrlXml {
 public:
  CtrlXml(int id, const char* class_name) { Attr("id", id).Attr("class", class_name); }
  CtrlXml& Attr(const char* key, const std::string& value) {
    text_ += std::string(" ") + key + "=\"" + value + "\"";
    return *this;
  }
  CtrlXml& Attr(const char* key, int value) { return Attr(key, std::to_string(value)); }
  std::string Element(const std::string& children = "") const {
    return children.empty() ? "<ctrl" + text_ + "/>" : "<ctrl" + text_ + ">" + children + "</ctrl>";
  }

 private:
  std::string text_;
};

const char* ItemClass(TileKind kind) {
  switch (kind) {
    case TileKind::kFilter:
      return "filter_item";
    case TileKind::kDecor:
      return "decor_item";
    default:
      return "circle_item";
  }
}

std::string TileCtrl(const TilePage& page, const TileInfo& tile) {
  CtrlXml ctrl(tile.id, ItemClass(page.kind));
  ctrl.Attr("name", tile.name).Attr("image", TileBlobName(tile));
  if (page.kind != TileKind::kDecor) ctrl.Attr("is_cancel", tile.is_cancel ? 1 : 0);
  return ctrl.Element();
}

// A description with children: the childless element, reopened.
std::string WithChildren(const std::string& ctrl, const std::string& children) {
  return ctrl.substr(0, ctrl.size() - 2) + ">" + children + "</ctrl>";
}

const char* FilterName(int id) {
  const TileInfo* tile = nullptr;
  return FindTile(id, &tile) ? tile->name : "滤镜";
}

}  // namespace

std::string TabHolderCtrl(const PanelState& state) {
  return CtrlXml(kTabHolderId, "tab_holder").Attr("selected", state.tab).Element();
}

std::string PageSwitchCtrl(const PanelState& state) {
  return CtrlXml(kPageSwitchId, "page_switch").Attr("selected", state.shown_page).Element();
}

// Three tiles a row, 34 pixels apart, below the page's title.
std::string TilePageCtrl(const TilePage& page, int selected) {
  return CtrlXml(page.id, "page_list")
      .Attr("name", page.title)
      .Attr("selected", selected)
      .Attr("col", 3)
      .Attr("item_width", kTileEdge)
      .Attr("item_height", page.item_height)
      .Attr("spacex", 34)
      .Attr("spacey", 12)
      .Attr("list_padding_left", 38)
      .Attr("list_padding_top", 86)
      .Element();
}

// Titled with the filter it adjusts.
std::string AdjustPageCtrl(const PanelState& state) {
  return CtrlXml(kAdjustPageId, "page_adjust")
      .Attr("name", FilterName(state.adjusting))
      .Attr("style", 1)
      .Element();
}

std::string SliderCtrl(const SliderInfo& slider, int value) {
  return CtrlXml(slider.id, "slider")
      .Attr("name", slider.name)
      .Attr("min", slider.min)
      .Attr("max", slider.max)
      .Attr("pos", value)
      .Element();
}

std::string ModifyCommand(int parent_id, const std::vector<std::string>& ctrls) {
  std::string text = "<command name=\"modify\" parent_id=\"" + std::to_string(parent_id) + "\">";
  for (const std::string& ctrl : ctrls) text += ctrl;
  return text + "</command>";
}

std::string ConfigCommand(const PanelState& state) {
  std::string tabs;
  for (const TabInfo& tab : kTabs) tabs += CtrlXml(tab.id, "tab").Attr("name", tab.name).Element();
  std::string pages;
  for (int p = 0; p < 3; ++p) {
    const TilePage& page = kTilePages[p];
    std::string tiles;
    for (int i = 0; i < page.count; ++i) tiles += TileCtrl(page, page.tiles[i]);
    pages += WithChildren(TilePageCtrl(page, state.selected[p]), tiles);
  }
  std::string sliders;
  for (int i = 0; i < 3; ++i) sliders += SliderCtrl(kSliders[i], state.values[i]);
  pages += WithChildren(AdjustPageCtrl(state), sliders);
  const std::string root =
      CtrlXml(kRootId, "op_area")
          .Attr("name", "Vela相机")
          .Element(WithChildren(TabHolderCtrl(state), tabs) + WithChildren(PageSwitchCtrl(state), pages));
  return "<command name=\"config\">" + root + "</command>";
}

}  // namespace phone_sim
