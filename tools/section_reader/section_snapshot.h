// One whole picture copied out of the shared-memory section by name, the
// way a virtual camera reads it from another process.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct SectionSnapshot {
  int width = 0;
  int height = 0;
  uint32_t sequence = 0;        // the trailer's counter (0 without a trailer)
  std::vector<uint8_t> pixels;  // bottom row first, blue, green, red
  // The section's DACL lets ALL APPLICATION PACKAGES map it for reading (a
  // camera module loaded by an app-container process needs that).
  bool appContainersMayRead = false;
};

enum class SnapshotResult { kOk, kNoSection, kNoPicture, kTorn };

// Opens `name` read-only and copies header and pixels, retrying (bounded)
// while the writer is in the middle of a picture.
SnapshotResult ReadSection(const std::string& name, SectionSnapshot& out);
