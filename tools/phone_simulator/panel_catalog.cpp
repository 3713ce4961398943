#include "tools/phone_simulator/panel_catalog.h"

namespace phone_sim {
namespace {

using S = TileShape;

// Filters: each tints the picture in its colour. The first is the untouched picture.
const TileInfo kFilterTiles[] = {
    {101, "原图", {200, 200, 200}, S::kNone, true},     {102, "暖阳", {255, 150, 40}, S::kDisc, false},
    {103, "冷调", {40, 110, 255}, S::kSquare, false},   {104, "清新", {60, 220, 160}, S::kTriangle, false},
    {105, "粉嫩", {255, 110, 170}, S::kDiamond, false}, {106, "复古", {170, 120, 60}, S::kRing, false},
    {107, "森林", {40, 150, 60}, S::kCross, false},     {108, "落日", {230, 70, 40}, S::kBars, false},
    {109, "薰衣", {160, 120, 230}, S::kStar, false},    {110, "海盐", {70, 200, 230}, S::kDisc, false},
    {111, "奶茶", {215, 180, 140}, S::kSquare, false},  {112, "夜色", {40, 40, 110}, S::kTriangle, false},
};

// Stickers the phone draws over the face.
const TileInfo kDecorTiles[] = {
    {201, "猫耳", {250, 160, 60}, S::kTriangle, false}, {202, "墨镜", {30, 30, 30}, S::kBars, false},
    {203, "皇冠", {240, 200, 40}, S::kStar, false},     {204, "爱心", {240, 60, 90}, S::kDiamond, false},
    {205, "泡泡", {90, 180, 250}, S::kRing, false},     {206, "胡子", {110, 70, 40}, S::kCross, false},
};

// Beauty presets shown as round tiles; the first turns them off.
const TileInfo kCircleTiles[] = {
    {301, "无", {220, 220, 220}, S::kCross, true},      {302, "自然", {120, 200, 120}, S::kDisc, false},
    {303, "精致", {200, 120, 220}, S::kDiamond, false}, {304, "甜美", {250, 140, 170}, S::kStar, false},
    {305, "元气", {250, 200, 60}, S::kSquare, false},   {306, "高级", {90, 90, 140}, S::kRing, false},
};

template <size_t N>
constexpr int CountOf(const TileInfo (&)[N]) {
  return static_cast<int>(N);
}

}  // namespace

const TabInfo kTabs[3] = {{11, "滤镜"}, {12, "贴纸"}, {13, "美颜"}};

// Filter and circle tiles carry their name below the picture (22 and 20 pixels).
const TilePage kTilePages[3] = {
    {kFilterPageId, TileKind::kFilter, "滤镜", kTileEdge + 22, kFilterTiles, CountOf(kFilterTiles)},
    {kDecorPageId, TileKind::kDecor, "贴纸", kTileEdge, kDecorTiles, CountOf(kDecorTiles)},
    {kCirclePageId, TileKind::kCircle, "美颜", kTileEdge + 20, kCircleTiles, CountOf(kCircleTiles)},
};

const SliderInfo kSliders[3] = {
    {401, "强度", 0, 100, 70},
    {402, "平滑", 0, 100, 40},
    {403, "亮度", -50, 50, 0},
};

const TilePage* FindTile(int id, const TileInfo** tile) {
  for (const TilePage& page : kTilePages)
    for (int i = 0; i < page.count; ++i)
      if (page.tiles[i].id == id) {
        *tile = &page.tiles[i];
        return &page;
      }
  return nullptr;
}

const TilePage* FindTilePage(int page_id) {
  for (const TilePage& page : kTilePages)
    if (page.id == page_id) return &page;
  return nullptr;
}

int SliderIndex(int id) {
  for (int i = 0; i < 3; ++i)
    if (kSliders[i].id == id) return i;
  return -1;
}

std::string TileBlobName(const TileInfo& tile) {
  return "tile_" + std::to_string(tile.id) + ".png";
}

}  // namespace phone_sim
