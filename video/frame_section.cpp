#include "video/frame_section.h"

#include <sddl.h>

#include <cstring>

#include "video/core/frame_section_layout.h"
#include "video/video_frame.h"

namespace {

// SYSTEM, administrators and the section's owner may do anything; everyone
// and ALL APPLICATION PACKAGES may read. The cameras only ever read. The low
// mandatory label (no write up) lets low-integrity processes, app containers
// among them, open it for reading; writing stays with the program.
constexpr const char* kSectionSddl =
    "D:(A;;GA;;;SY)(A;;GA;;;BA)(A;;GA;;;OW)(A;;GR;;;WD)(A;;GR;;;AC)S:(ML;;NW;;;LW)";

// A descriptor that the SDDL parser allocated with LocalAlloc.
using SecurityDescriptor = UniqueOwner<PSECURITY_DESCRIPTOR, ReleasedBy<void, &LocalFree>>;

SecurityDescriptor ReadableByEveryone() {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(kSectionSddl, SDDL_REVISION_1, &descriptor,
                                                            nullptr))
    return {};
  return SecurityDescriptor(descriptor);
}

uint64_t Now() {
  FILETIME now{};
  GetSystemTimePreciseAsFileTime(&now);
  return (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

}  // namespace

FrameSection::FrameSection(std::string name) : name_(std::move(name)) {}
FrameSection::FrameSection() : FrameSection(frame_section::kName) {}

bool FrameSection::EnsureMapped() {
  if (view_) return true;
  if (!mapping_) {
    // Without a descriptor (a system that cannot parse it) the section still
    // works for readers of the same user, as the default DACL allows.
    SecurityDescriptor descriptor = ReadableByEveryone();
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor.get(), FALSE};
    mapping_.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, descriptor ? &attributes : nullptr,
                                      PAGE_READWRITE | SEC_COMMIT, 0, frame_section::kSize, name_.c_str()));
    if (!mapping_) return false;
  }
  view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, frame_section::kSize));
  if (!view_) {
    mapping_.reset();  // start over at the next picture
    return false;
  }
  frame_section::MarkTrailer(static_cast<uint8_t*>(view_.get()));
  return true;
}

bool FrameSection::Publish(const VideoFrame& frame) {
  if (!frame.bits() || !frame_section::FitsSection(frame.width(), frame.height())) return false;
  if (!EnsureMapped()) return false;
  uint8_t* view = static_cast<uint8_t*>(view_.get());
  // Odd while the picture is being replaced; the trailer's helpers order
  // the sequence against the pixel writes.
  frame_section::BeginWrite(view);
  const int32_t header[3] = {frame.width(), frame.height(), frame.width() * frame.height() * 3};
  std::memcpy(view + frame_section::kWidthOffset, header, sizeof(header));
  const size_t row = static_cast<size_t>(frame.width()) * 3;
  uint8_t* out = view + frame_section::kPixelOffset;
  for (int y = 0; y < frame.height(); ++y, out += row)
    std::memcpy(out, frame.bits() + static_cast<size_t>(y) * frame.stride(), row);
  frame_section::EndWrite(view, Now());
  ++published_;
  return true;
}
