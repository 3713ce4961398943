// The pictures of the simulated phone's tiles, drawn here rather than read
// from files: each tile its own colour and shape, so a screenshot of the
// desktop's panel shows which tile is which. Sent as PNG blobs named by
// TileBlobName before the "config" that refers to them.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "tools/phone_simulator/panel_catalog.h"
#include "tools/phone_simulator/png_encoder.h"

namespace phone_sim {

// kTileEdge square: filters and circles a filled ground with a white shape
// (the untouched-picture tile a small copy of the test picture's corners),
// stickers a coloured shape on a transparent ground.
RgbaPicture DrawTile(TileKind kind, const TileInfo& tile);

// Every tile of every page as (blob name, PNG file); false with `error` set
// when a picture could not be encoded.
bool TileBlobs(std::vector<std::pair<std::string, std::vector<uint8_t>>>* blobs, std::string* error);

}  // namespace phone_sim
