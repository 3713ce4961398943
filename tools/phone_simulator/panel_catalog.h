// What the simulated phone app offers on the desktop's control panel: its
// tabs, pages, tiles and sliders, with the ids the panel addresses them by.
// Fixed data; PanelModel holds the state (what is selected, slider values).
#pragma once
#include <string>

#include "tools/phone_simulator/test_pattern.h"

namespace phone_sim {

// Containers. The root holds the tab row and the page area.
constexpr int kRootId = 1;
constexpr int kTabHolderId = 2;
constexpr int kPageSwitchId = 3;
// Pages. Each tab shows the page whose id is the tab's id plus kTabToPage.
constexpr int kFilterPageId = 21;
constexpr int kDecorPageId = 22;
constexpr int kCirclePageId = 23;
constexpr int kAdjustPageId = 24;  // the sliders of one filter, opened by a double click
constexpr int kTabToPage = 10;

// What a tile's picture shows on its coloured ground.
enum class TileShape { kNone, kDisc, kSquare, kTriangle, kDiamond, kRing, kCross, kBars, kStar };

enum class TileKind { kFilter, kDecor, kCircle };

struct TileInfo {
  int id;
  const char* name;  // UTF-8, as the panel shows it
  test_pattern::Rgb colour;
  TileShape shape;
  bool is_cancel;  // the tile that turns the effect off
};

struct SliderInfo {
  int id;
  const char* name;
  int min, max, initial;
};

struct TabInfo {
  int id;
  const char* name;
};

struct TilePage {
  int id;
  TileKind kind;
  const char* title;
  int item_height;  // the picture square plus the room its name needs
  const TileInfo* tiles;
  int count;
};

extern const TabInfo kTabs[3];
extern const TilePage kTilePages[3];
extern const SliderInfo kSliders[3];
// Index of the slider whose value is a filter's strength (how much of its tint shows).
constexpr int kStrengthSlider = 0;
// Edge of every tile picture in pixels: the panel shows pictures up to this size unscaled.
constexpr int kTileEdge = 68;

// The page that holds tile `id`, with the tile in *tile; null when no tile has that id.
const TilePage* FindTile(int id, const TileInfo** tile);
const TilePage* FindTilePage(int page_id);
// Index into kSliders, or -1.
int SliderIndex(int id);
// The blob name of a tile's picture.
std::string TileBlobName(const TileInfo& tile);

}  // namespace phone_sim
