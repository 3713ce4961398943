// Runs the frame buffer's work (scaling, RGB conversion, orientation, the
// section write) on a thread of its own, so that the stream thread goes on
// decoding the next picture meanwhile. On two cores decoding and conversion
// then overlap: the path keeps up with the decoder alone, and no picture
// waits for the one before it to be converted.
//
// Newest-picture policy: one slot. The stream thread puts a reference to
// each decoded picture in it (no copy: the decoder's picture buffers are
// reference-counted, and the decoder takes a fresh one for the next
// picture) and returns at once. A picture still waiting when the next one
// arrives is replaced and counted as skipped, so the conversion always
// starts on the newest picture and never works through a backlog.
//
// Threads: OnFrame from one producer (the stream thread); Start and Stop
// from the owner. The lock covers the slot only and is never held while
// the target converts.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "framework/critical_section.h"
#include "framework/handles.h"
#include "framework/worker_thread.h"
#include "video/core/ffmpeg_owners.h"
#include "video/core/frame_buffer.h"

class ConversionThread : public IFrameBuffer {
 public:
  // `target` (borrowed) receives every picture the thread takes; it must
  // outlive the thread (Stop or the destructor joins it).
  explicit ConversionThread(IFrameBuffer* target);
  ~ConversionThread() override;
  ConversionThread(const ConversionThread&) = delete;
  ConversionThread& operator=(const ConversionThread&) = delete;

  // Starts the thread; false when it cannot be made (pictures are then
  // ignored). A running thread is kept.
  bool Start();
  // Drops the waiting picture and joins the thread. Returns as soon as the
  // conversion in progress, if any, has finished (a few milliseconds).
  void Stop();

  // Leaves a reference to `picture` for the thread, replacing one that is
  // still waiting. Ignored while the thread is not running.
  void OnFrame(const AVFrame* picture) override;
  int IsFull() override { return 0; }

  // Between Start and Stop (false once Stop has dropped the waiting picture,
  // while it may still be joining).
  bool IsRunning() const;
  // Pictures replaced before the thread took them.
  uint64_t Skipped() const { return skipped_.load(); }

 private:
  void Loop();

  IFrameBuffer* const target_;
  std::atomic<uint64_t> skipped_{0};
  mutable CriticalSection lock_;  // guards slot_, waiting_, running_, stopping_
  FrameOwner slot_;
  bool waiting_ = false;   // slot_ holds a picture not taken yet
  bool running_ = false;   // between Start and Stop
  bool stopping_ = false;  // tells the thread to end
  UniqueHandle wake_;      // auto-reset: a picture is waiting, or stop
  WorkerThread thread_;
};
