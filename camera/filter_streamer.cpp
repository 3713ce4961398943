#include "camera/filter_streamer.h"

#include "camera/filter_media_types.h"

namespace {

REFERENCE_TIME QpcNow() {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<REFERENCE_TIME>(now.QuadPart / frequency * 10000000 +
                                     now.QuadPart % frequency * 10000000 / frequency);
}

}  // namespace

Streamer::Streamer(std::string sectionName, int width, int height)
    : width_(width),
      height_(height),
      source_(std::move(sectionName), width, height),
      wake_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

HRESULT Streamer::Start(IMemAllocator* allocator, IMemInputPin* input, CameraFormat format) {
  Stop();
  HRESULT hr = allocator->Commit();
  if (FAILED(hr)) return hr;
  {
    ScopedLock hold(lock_);
    allocator_ = AddRefed(allocator);
    input_ = AddRefed(input);
    format_ = format;
    frameBytes_ = CameraFrameBytes(format, width_, height_);
    running_ = false;
    stopping_ = false;
  }
  InterlockedExchange(&delivered_, 0);
  if (!thread_.Start([this] { Body(); })) {
    Stop();
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

void Streamer::Run(IReferenceClock* clock, REFERENCE_TIME start) {
  {
    ScopedLock hold(lock_);
    clock_ = AddRefed(clock);
    start_ = clock ? start : QpcNow();
    running_ = true;
  }
  SetEvent(wake_.get());
}

void Streamer::Pause() {
  {
    ScopedLock hold(lock_);
    running_ = false;
  }
  SetEvent(wake_.get());
}

void Streamer::Stop() {
  {
    ScopedLock hold(lock_);
    stopping_ = true;
    running_ = false;
  }
  SetEvent(wake_.get());
  // A thread waiting in GetBuffer for a free sample returns with an error.
  if (allocator_) allocator_->Decommit();
  thread_.Join();
  ScopedLock hold(lock_);
  allocator_.reset();
  input_.reset();
  clock_.reset();
}

REFERENCE_TIME Streamer::StreamTime() {
  ScopedLock hold(lock_);
  REFERENCE_TIME now = 0;
  if (!clock_ || FAILED(clock_->GetTime(&now))) now = QpcNow();
  return now - start_;
}

void Streamer::Body() {
  HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  REFERENCE_TIME next = -1;  // stream time of the next frame
  bool first = true;
  for (;;) {
    bool running, stopping;
    {
      ScopedLock hold(lock_);
      running = running_;
      stopping = stopping_;
    }
    if (stopping) break;
    if (!running) {
      WaitForSingleObject(wake_.get(), INFINITE);
      continue;
    }
    const REFERENCE_TIME now = StreamTime();
    // Deadlines are absolute multiples of the interval in stream time, so a
    // late tick does not push the later ones; a tick missed by more than a
    // whole interval is dropped, not sent in a burst.
    if (next < 0 || now - next >= kFrameInterval)
      next = (now < 0 ? 0 : now) / kFrameInterval * kFrameInterval;
    if (now < next) {
      const DWORD waitMs = static_cast<DWORD>((next - now + 9999) / 10000);
      WaitForSingleObject(wake_.get(), waitMs);
      continue;
    }
    DeliverFrame(next, first);
    first = false;
    next += kFrameInterval;
  }
  if (SUCCEEDED(com)) CoUninitialize();
}

void Streamer::DeliverFrame(REFERENCE_TIME stamp, bool first) {
  IMediaSample* raw = nullptr;
  if (FAILED(allocator_->GetBuffer(&raw, nullptr, nullptr, 0)) || !raw) return;
  ComRef<IMediaSample> sample(raw);
  BYTE* data = nullptr;
  if (FAILED(sample->GetPointer(&data)) || !data) return;
  const long capacity = sample->GetSize();
  if (!source_.Fill(format_, data, capacity > 0 ? static_cast<size_t>(capacity) : 0)) return;
  sample->SetActualDataLength(static_cast<long>(frameBytes_));
  REFERENCE_TIME end = stamp + kFrameInterval;
  sample->SetTime(&stamp, &end);
  sample->SetSyncPoint(TRUE);
  sample->SetDiscontinuity(first ? TRUE : FALSE);
  if (input_->Receive(sample.get()) == S_OK) InterlockedIncrement(&delivered_);
}
