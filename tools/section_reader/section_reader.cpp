// section_reader [--name NAME] [--png FILE]
//
// Opens the preview's shared-memory section (by default the cameras' name)
// from this process and either saves the picture it holds as a PNG file or
// prints one line: width, height, byte count, sequence, an FNV-1a checksum
// of the pixels and whether app-container processes may read the section. Exit codes: 0 done, 1 bad
// arguments, 2 no such section, 3 no whole picture in it, 4 the PNG could not be written.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/gdiplus_api.h"
#include "framework/gdiplus_session.h"
#include "tools/section_reader/section_snapshot.h"
#include "video/core/frame_section_layout.h"
#include "widgets/gdiplus_owners.h"

namespace {

uint32_t Fnv1a(const std::vector<uint8_t>& bytes) {
  uint32_t hash = 2166136261u;
  for (uint8_t b : bytes) hash = (hash ^ b) * 16777619u;
  return hash;
}

bool SavePng(const SectionSnapshot& picture, const std::string& file) {
  GdiplusSession gdiplus;
  if (!gdiplus.ok()) return false;
  // GDI+ wants rows 4-byte aligned, top row first; the section holds packed
  // rows bottom row first, in the same blue, green, red order.
  const size_t row = static_cast<size_t>(picture.width) * 3;
  const size_t stride = (row + 3) & ~size_t{3};
  std::vector<uint8_t> topDown(stride * picture.height);
  for (int y = 0; y < picture.height; ++y)
    std::copy_n(picture.pixels.data() + (picture.height - 1 - y) * row, row, topDown.data() + y * stride);
  Gdiplus::GpBitmap* raw = nullptr;
  if (Gdiplus::DllExports::GdipCreateBitmapFromScan0(picture.width, picture.height, static_cast<INT>(stride),
                                                     PixelFormat24bppRGB, topDown.data(),
                                                     &raw) != Gdiplus::Ok)
    return false;
  const GpBitmapPtr bitmap(raw);
  static const CLSID kPngEncoder = {
      0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  const std::wstring wide(file.begin(), file.end());  // paths from the tests are ASCII
  const bool saved = Gdiplus::DllExports::GdipSaveImageToFile(bitmap.get(), wide.c_str(), &kPngEncoder,
                                                              nullptr) == Gdiplus::Ok;
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  std::string name = frame_section::kName;
  std::string png;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--name" && i + 1 < argc) {
      name = argv[++i];
    } else if (arg == "--png" && i + 1 < argc) {
      png = argv[++i];
    } else {
      std::fprintf(stderr, "usage: section_reader [--name NAME] [--png FILE]\n");
      return 1;
    }
  }
  SectionSnapshot picture;
  switch (ReadSection(name, picture)) {
    case SnapshotResult::kOk:
      break;
    case SnapshotResult::kNoSection:
      std::fprintf(stderr, "no section named %s\n", name.c_str());
      return 2;
    case SnapshotResult::kNoPicture:
    case SnapshotResult::kTorn:
      std::fprintf(stderr, "no whole picture in %s\n", name.c_str());
      return 3;
  }
  if (!png.empty()) return SavePng(picture, png) ? 0 : 4;
  std::printf("width=%d height=%d bytes=%u sequence=%u checksum=%08x app_containers=%s\n", picture.width,
              picture.height, static_cast<unsigned>(picture.pixels.size()), picture.sequence,
              Fnv1a(picture.pixels), picture.appContainersMayRead ? "read" : "denied");
  return 0;
}
