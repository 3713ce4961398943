// Turns every decoded RGB picture into an output frame (orientation,
// mirroring, fill-and-crop scaling, DIB layout) and queues it for the preview.
//
// Threads: one producer (the stream thread) calls OnFrame; the window thread
// takes frames, hands them back with Recycle and changes the settings, which
// the producer reads once per picture. The lock covers the queue and the
// spare frames only; conversion runs outside it.
#pragma once
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "framework/critical_section.h"
#include "video/core/frame_geometry.h"
#include "video/core/frame_buffer.h"
#include "video/video_frame.h"

class VideoFrameBuffer : public IFrameBuffer {
 public:
  // Frames kept at most. Drop policy: the producer (the stream thread) never
  // waits; when the queue is full the oldest frame is freed to make room, so
  // memory stays bounded and the preview is never more than this many
  // frames behind the phone.
  static constexpr int kMaxQueuedFrames = 10;
  // Freed frames kept for reuse: a fresh DIB section costs a page fault per
  // 4 KiB on first touch, more than the copy into it. Frames beyond this
  // many are freed.
  static constexpr int kMaxSpareFrames = 3;

  VideoFrameBuffer() = default;
  ~VideoFrameBuffer() override = default;
  VideoFrameBuffer(const VideoFrameBuffer&) = delete;
  VideoFrameBuffer& operator=(const VideoFrameBuffer&) = delete;

  // The phone's own flip requests, from each handshake.
  void SetReverse(int reverseV, int reverseH);
  // The user's mirror buttons; each inverts the matching phone flag.
  void SetUserFlip(int userMirror, int userFlip);
  // Portrait output is 720 x 1280, landscape 1280 x 720; takes effect from the next picture.
  void SetPortrait(bool portrait);
  bool IsPortrait() const { return portrait_.load() != 0; }
  int OutputWidth() const { return IsPortrait() ? kLandscapeHeight : kLandscapeWidth; }
  int OutputHeight() const { return IsPortrait() ? kLandscapeWidth : kLandscapeHeight; }

  // Stream thread: converts the picture outside the lock, then queues it.
  void OnFrame(const AVFrame* picture) override;
  int IsFull() override;

  // Window thread: the oldest queued frame, now owned by the caller; null when empty.
  std::unique_ptr<VideoFrame> TakeFrame();
  // Frees every queued frame.
  void Reset();
  // Hands back a frame that its taker no longer uses (the preview's previous
  // frame), so that its memory serves a later picture; null is ignored.
  void Recycle(std::unique_ptr<VideoFrame> frame);
  // Frames freed unseen because the queue was full (for diagnostics and benchmarks).
  uint64_t DroppedFrames() const { return dropped_.load(); }

 private:
  std::unique_ptr<VideoFrame> Render(const uint8_t* rgb, int width, int height, int stride);
  // A spare frame of this size, or a new one.
  std::unique_ptr<VideoFrame> AcquireFrame(int width, int height);

  // Written by the window thread, read once per picture by the stream thread.
  std::atomic<int> reverseV_{0};
  std::atomic<int> reverseH_{0};
  std::atomic<int> portrait_{0};
  std::atomic<int> userMirror_{0};
  std::atomic<int> userFlip_{0};
  std::atomic<uint64_t> dropped_{0};

  CriticalSection lock_;                             // guards queue_ and spares_
  std::deque<std::unique_ptr<VideoFrame>> queue_;    // oldest first, at most kMaxQueuedFrames
  std::vector<std::unique_ptr<VideoFrame>> spares_;  // at most kMaxSpareFrames
  // The oriented picture before scaling; used by the stream thread only.
  std::unique_ptr<VideoFrame> scratch_;
};
