// The camera's streaming thread: 30 frames per second on absolute deadlines
// of the graph clock, each stamped with its stream time, delivered to the
// downstream pin through its allocator. It holds its own references on the
// allocator and the downstream input, so it never calls into a pin that was
// released; Stop decommits the allocator (a GetBuffer wait ends) and joins.
#pragma once
#include <windows.h>

#include <dshow.h>

#include <string>

#include "camera/core/picture_format.h"
#include "camera/filter_com.h"
#include "camera/filter_frame_source.h"
#include "framework/critical_section.h"
#include "framework/handles.h"
#include "framework/worker_thread.h"

class Streamer {
 public:
  Streamer(std::string sectionName, int width, int height);
  ~Streamer() { Stop(); }
  Streamer(const Streamer&) = delete;
  Streamer& operator=(const Streamer&) = delete;

  // Commits the allocator and starts the thread, idle until Run.
  HRESULT Start(IMemAllocator* allocator, IMemInputPin* input, CameraFormat format);
  // Delivers frames: stream time is the clock's time minus `start` (without
  // a clock, the time since this call).
  void Run(IReferenceClock* clock, REFERENCE_TIME start);
  // A live source sends nothing while paused.
  void Pause();
  // Ends the thread and lets go of the allocator and the downstream input.
  void Stop();

  // Frames delivered since Start (for tests and the bench through the filter).
  LONG delivered() const { return delivered_; }

 private:
  void Body();
  REFERENCE_TIME StreamTime();
  void DeliverFrame(REFERENCE_TIME stamp, bool first);

  const int width_;
  const int height_;
  FrameSource source_;
  CriticalSection lock_;  // guards the run state below
  bool running_ = false;
  bool stopping_ = false;
  ComRef<IReferenceClock> clock_;
  REFERENCE_TIME start_ = 0;
  LARGE_INTEGER ownStart_{};
  UniqueHandle wake_;  // auto-reset: the run state changed
  ComRef<IMemAllocator> allocator_;
  ComRef<IMemInputPin> input_;
  CameraFormat format_ = CameraFormat::kYuy2;
  size_t frameBytes_ = 0;
  volatile LONG delivered_ = 0;
  WorkerThread thread_;
};
