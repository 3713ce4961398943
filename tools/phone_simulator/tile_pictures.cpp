#include "tools/phone_simulator/tile_pictures.h"

#include <cmath>

namespace phone_sim {
namespace {

using test_pattern::Rgb;

// Whether the point (u, v), in units of the shape's radius around the tile's
// centre (v grows downwards), lies inside `shape`.
bool Inside(TileShape shape, double u, double v) {
  const double d2 = u * u + v * v;
  switch (shape) {
    case TileShape::kDisc:
      return d2 <= 1;
    case TileShape::kSquare:
      return std::fabs(u) <= 0.8 && std::fabs(v) <= 0.8;
    case TileShape::kTriangle:  // apex up
      return v >= -0.9 && v <= 0.8 && std::fabs(u) <= (v + 0.9) * 0.6;
    case TileShape::kDiamond:
      return std::fabs(u) + std::fabs(v) <= 1;
    case TileShape::kRing:
      return d2 <= 1 && d2 >= 0.45;
    case TileShape::kCross:
      return (std::fabs(u) <= 0.25 && std::fabs(v) <= 1) || (std::fabs(v) <= 0.25 && std::fabs(u) <= 1);
    case TileShape::kBars:  // three upright bars
      return std::fabs(u) < 1 && std::fabs(v) <= 0.9 && static_cast<int>((u + 1) * 2.5) % 2 == 0;
    case TileShape::kStar: {  // five points: the radius swings with the angle
      const double angle = std::atan2(u, -v);
      return std::sqrt(d2) <= 0.45 + 0.55 * std::pow(std::fabs(std::cos(2.5 * angle)), 3);
    }
    default:
      return false;
  }
}

// The test picture's four corner colours around a grey middle: "the picture as it is".
Rgb UntouchedPictureAt(int x, int y) {
  const int quarter = kTileEdge / 4;
  const bool left = x < quarter, right = x >= kTileEdge - quarter;
  const bool top = y < quarter, bottom = y >= kTileEdge - quarter;
  if (top && left) return test_pattern::kTopLeftColour;
  if (top && right) return test_pattern::kTopRightColour;
  if (bottom && left) return test_pattern::kBottomLeftColour;
  if (bottom && right) return test_pattern::kBottomRightColour;
  return test_pattern::kBackgroundColour;
}

}  // namespace

RgbaPicture DrawTile(TileKind kind, const TileInfo& tile) {
  RgbaPicture picture;
  picture.width = picture.height = kTileEdge;
  picture.pixels.assign(static_cast<size_t>(kTileEdge) * kTileEdge * 4, 0);
  const double centre = kTileEdge / 2.0;
  const double radius = kind == TileKind::kDecor ? kTileEdge * 0.42 : kTileEdge * 0.28;
  const Rgb white{255, 255, 255};
  for (int y = 0; y < kTileEdge; ++y)
    for (int x = 0; x < kTileEdge; ++x) {
      const bool inside = Inside(tile.shape, (x + 0.5 - centre) / radius, (y + 0.5 - centre) / radius);
      Rgb colour = tile.colour;
      bool opaque = true;
      if (kind == TileKind::kFilter && tile.is_cancel)
        colour = UntouchedPictureAt(x, y);
      else if (kind == TileKind::kDecor)
        opaque = inside;  // a sticker: its shape alone
      else if (inside)
        colour = white;
      uint8_t* p = &picture.pixels[(static_cast<size_t>(y) * kTileEdge + x) * 4];
      p[0] = colour.r;
      p[1] = colour.g;
      p[2] = colour.b;
      p[3] = opaque ? 255 : 0;
    }
  return picture;
}

bool TileBlobs(std::vector<std::pair<std::string, std::vector<uint8_t>>>* blobs, std::string* error) {
  for (const TilePage& page : kTilePages)
    for (int i = 0; i < page.count; ++i) {
      std::vector<uint8_t> png;
      if (!EncodePng(DrawTile(page.kind, page.tiles[i]), &png, error)) return false;
      blobs->emplace_back(TileBlobName(page.tiles[i]), std::move(png));
    }
  return true;
}

}  // namespace phone_sim
