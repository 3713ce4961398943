#include "tools/section_reader/section_snapshot.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <cstring>

#include "framework/handles.h"
#include "video/core/frame_section_layout.h"

namespace {

using ReadView = UniqueOwner<void*, ReleasedBy<void, &UnmapViewOfFile>>;
using LocalMemory = UniqueOwner<void*, ReleasedBy<void, &LocalFree>>;

// A picture written by a busy writer is retried at most this often.
constexpr int kAttempts = 200;

uint32_t ReadSequence(const uint8_t* view) {
  MemoryBarrier();
  const uint32_t value =
      *reinterpret_cast<const volatile uint32_t*>(view + frame_section::kTrailerOffset + 4);
  MemoryBarrier();
  return value;
}

bool AppContainersMayRead(HANDLE mapping) {
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR rawDescriptor = nullptr;
  if (GetSecurityInfo(mapping, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                      &rawDescriptor) != ERROR_SUCCESS)
    return false;
  LocalMemory descriptor(rawDescriptor);  // dacl points into it
  PSID rawPackages = nullptr;
  if (!dacl || !ConvertStringSidToSidA("S-1-15-2-1", &rawPackages)) return false;
  LocalMemory packages(rawPackages);  // ALL APPLICATION PACKAGES
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    ACCESS_ALLOWED_ACE* ace = nullptr;
    if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace)) || ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE)
      continue;
    if (EqualSid(&ace->SidStart, packages.get()) && (ace->Mask & (GENERIC_READ | FILE_MAP_READ)) != 0)
      return true;
  }
  return false;
}

}  // namespace

SnapshotResult ReadSection(const std::string& name, SectionSnapshot& out) {
  UniqueHandle mapping(OpenFileMappingA(FILE_MAP_READ | READ_CONTROL, FALSE, name.c_str()));
  if (!mapping) return SnapshotResult::kNoSection;
  ReadView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, frame_section::kSize));
  if (!view) return SnapshotResult::kNoSection;
  const uint8_t* base = static_cast<const uint8_t*>(view.get());
  uint32_t magic = 0;
  std::memcpy(&magic, base + frame_section::kTrailerOffset, sizeof(magic));
  const bool hasTrailer = magic == frame_section::kTrailerMagic;

  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const uint32_t before = hasTrailer ? ReadSequence(base) : 0;
    if (before & 1u) {
      Sleep(1);
      continue;
    }
    int32_t header[3];
    std::memcpy(header, base + frame_section::kWidthOffset, sizeof(header));
    if (!frame_section::FitsSection(header[0], header[1]) || header[2] != header[0] * header[1] * 3) {
      if (hasTrailer && ReadSequence(base) != before) continue;
      return SnapshotResult::kNoPicture;
    }
    out.pixels.assign(base + frame_section::kPixelOffset, base + frame_section::kPixelOffset + header[2]);
    if (hasTrailer && ReadSequence(base) != before) continue;
    out.width = header[0];
    out.height = header[1];
    out.sequence = before;
    out.appContainersMayRead = AppContainersMayRead(mapping.get());
    return SnapshotResult::kOk;
  }
  return SnapshotResult::kTorn;
}
