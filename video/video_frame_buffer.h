// Turns every decoded picture into an output frame (fill-and-crop scaling
// and RGB conversion in one swscale pass, then orientation, mirroring and
// the DIB layout in one copy), publishes it in the
// cameras' shared section at once and keeps it as the preview's newest frame.
//
// Newest-picture policy: the producer writes each frame to the section
// as soon as it is made (no wait for the preview's tick), then puts it in a
// single slot that holds only the newest frame not yet taken. A frame the
// preview has not taken when the next one arrives is skipped (recycled and
// counted), so when the phone sends faster than the preview repaints the
// preview jumps to the newest picture instead of working through a backlog.
// Each picture reaches the section once and is taken at most once.
//
// Threads: one producer (the conversion thread) calls OnFrame and is the only
// writer of the section; the window thread takes frames, hands them back
// with Recycle and changes the settings, which the producer reads once per
// picture. The lock covers the slot and the spare frames only; conversion
// and the section write run outside it, so the window thread never holds up
// the section writer for longer than a pointer swap.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/critical_section.h"
#include "video/core/frame_buffer.h"
#include "video/core/frame_geometry.h"
#include "video/core/rgb_converter.h"
#include "video/frame_section.h"
#include "video/video_frame.h"

class VideoFrameBuffer : public IFrameBuffer {
 public:
  // Freed frames kept for reuse: a fresh DIB section costs a page fault per
  // 4 KiB on first touch, more than the copy into it. Frames beyond this
  // many are freed.
  static constexpr int kMaxSpareFrames = 3;

  // `section` (borrowed, may be null) receives every frame from the
  // producer thread; it must outlive this object's producer.
  explicit VideoFrameBuffer(FrameSection* section = nullptr) : section_(section) {}
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

  // The preview's client size (window thread): each frame then carries a
  // copy of its picture at the size the preview fits it to, scaled from
  // the decoded picture in the producer's swscale pass, so the preview's
  // paint is a plain copy. 0 x 0: no preview copy.
  void SetPreviewArea(int width, int height);

  // Producer thread: converts the picture and publishes it outside the lock,
  // then makes it the newest frame.
  void OnFrame(const AVFrame* picture) override;
  // Never full: a new frame replaces an untaken one.
  int IsFull() override { return 0; }

  // Window thread: the newest frame not taken yet, now owned by the caller;
  // null when no new frame has arrived since the last call.
  std::unique_ptr<VideoFrame> TakeFrame();
  // Frees the untaken frame.
  void Reset();
  // Hands back a frame that its taker no longer uses (the preview's previous
  // frame), so that its memory serves a later picture; null is ignored.
  void Recycle(std::unique_ptr<VideoFrame> frame);
  // Frames replaced before the preview took them (for diagnostics and benchmarks).
  uint64_t DroppedFrames() const { return dropped_.load(); }

 private:
  std::unique_ptr<VideoFrame> Render(const AVFrame* picture);
  // Converts the rectangle of `picture` into `frame`, turned and mirrored.
  static bool ConvertOriented(RgbConverter& converter, const AVFrame* picture, const Orientation& o,
                              const SourceCrop& crop, VideoFrame* frame);
  // Gives `frame` its preview copy of `picture` (the same crop, scaled to
  // the fitted size), or none when no preview area is set.
  void RenderPreview(const AVFrame* picture, const Orientation& o, SourceCrop crop, VideoFrame* frame);
  // A spare frame of this size, or a new one.
  std::unique_ptr<VideoFrame> AcquireFrame(int width, int height);

  // Written by the window thread, read once per picture by the producer.
  std::atomic<int> reverseV_{0};
  std::atomic<int> reverseH_{0};
  std::atomic<int> portrait_{0};
  std::atomic<int> userMirror_{0};
  std::atomic<int> userFlip_{0};
  std::atomic<int> previewWidth_{0};
  std::atomic<int> previewHeight_{0};
  std::atomic<uint64_t> dropped_{0};

  FrameSection* const section_;  // written by the producer thread only

  CriticalSection lock_;                             // guards newest_ and spares_
  std::unique_ptr<VideoFrame> newest_;               // the newest frame not taken yet
  std::vector<std::unique_ptr<VideoFrame>> spares_;  // at most kMaxSpareFrames
  // Convert and scale each picture for the output and for the preview;
  // used by the producer thread only.
  RgbConverter converter_{AV_PIX_FMT_BGR24};
  RgbConverter previewConverter_{AV_PIX_FMT_BGR24};
};
