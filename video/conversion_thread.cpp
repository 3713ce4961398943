#include "video/conversion_thread.h"

ConversionThread::ConversionThread(IFrameBuffer* target)
    : target_(target), slot_(av_frame_alloc()), wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

ConversionThread::~ConversionThread() {
  Stop();
}

bool ConversionThread::Start() {
  ScopedLock hold(lock_);
  if (running_) return true;
  if (!slot_ || !wake_) return false;
  stopping_ = false;
  waiting_ = false;
  running_ = thread_.Start([this] { Loop(); });
  return running_;
}

void ConversionThread::Stop() {
  {
    ScopedLock hold(lock_);
    if (!running_) return;
    running_ = false;
    stopping_ = true;
    waiting_ = false;
    av_frame_unref(slot_.get());
  }
  SetEvent(wake_.get());
  thread_.Join();
}

bool ConversionThread::IsRunning() const {
  ScopedLock hold(lock_);
  return running_;
}

void ConversionThread::OnFrame(const AVFrame* picture) {
  if (!picture) return;
  bool replaced = false;
  {
    ScopedLock hold(lock_);
    if (!running_) return;
    replaced = waiting_;
    av_frame_unref(slot_.get());
    waiting_ = av_frame_ref(slot_.get(), picture) >= 0;
  }
  if (replaced) ++skipped_;
  SetEvent(wake_.get());
}

void ConversionThread::Loop() {
  FrameOwner picture(av_frame_alloc());
  if (!picture) return;
  for (;;) {
    WaitForSingleObject(wake_.get(), INFINITE);
    {
      ScopedLock hold(lock_);
      if (stopping_) return;
      if (!waiting_) continue;
      av_frame_move_ref(picture.get(), slot_.get());
      waiting_ = false;
    }
    // Outside the lock: the stream thread may leave the next picture meanwhile.
    target_->OnFrame(picture.get());
    av_frame_unref(picture.get());
  }
}
