// The writer's side of the shared-memory section "LumoraFileMapping" (layout
// in video/core/frame_section_layout.h): the conversion thread publishes every
// picture here as soon as it is made, and the virtual cameras read it from
// their own processes.
//
// The section is made on first use, with a security descriptor that lets
// any process read it, app-container processes included (a camera module
// loaded by a store app runs in one); when a section of that name already
// exists it is opened instead. It stays mapped until this object dies, so
// the readers keep the last picture after the stream ends.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "framework/handles.h"
#include "framework/unique_owner.h"

class VideoFrame;

// Owns a view from MapViewOfFile and unmaps it.
using MappedView = UniqueOwner<void*, ReleasedBy<void, &UnmapViewOfFile>>;

// One writer thread at a time; Publish takes no lock.
class FrameSection {
 public:
  explicit FrameSection(std::string name);
  FrameSection();  // the cameras' section name
  FrameSection(const FrameSection&) = delete;
  FrameSection& operator=(const FrameSection&) = delete;

  // Writes the frame's header and pixels. False when the section cannot be
  // made or mapped (the next call tries again) or the frame does not fit.
  bool Publish(const VideoFrame& frame);
  // Pictures published through this object so far (any thread may ask).
  uint32_t published() const { return published_.load(); }

 private:
  bool EnsureMapped();
  std::string name_;
  // Declared in this order so the view is unmapped before the mapping closes.
  UniqueHandle mapping_;
  MappedView view_;
  std::atomic<uint32_t> published_{0};
};
