// Runs one connection to one phone on the stream thread: opens the link,
// feeds every Video message to a fresh H.264 decoder whose pictures reach
// the frame buffer through the conversion thread, and reports the run's
// state to the notify window with posted messages (WM_STREAM_CONNECTED /
// _DISCONNECTED / _CONNECT_FAILED).
//
// Ownership: the worker owns the cameras' shared section (written by the
// conversion thread as each picture is made, kept mapped until the worker
// dies so the cameras keep the last picture), the frame buffer, the
// conversion thread, the last frame the preview took, the device copy and
// the stream thread (WorkerThread: only Start, Stop and the destructor join
// and release it). Each run's LinkReader and H264Decoder belong to the
// stream thread, which makes and frees them, and which starts the
// conversion thread when its run begins and stops it (joined) before the
// run ends; the window thread reaches the decoder only to ask it to stop,
// under decoderLock_, which the thread also takes before it frees the
// decoder.
//
// Pictures: decoder (stream thread) -> conversion thread (newest picture
// wins its one slot) -> frame buffer: scaled, oriented, published to the
// section at once and left in the preview's newest-frame slot.
//
// Stop and Start run on the window thread. They first set the run's
// LinkCancel, which ends whatever the stream thread waits on (the adb forward,
// the TCP connect, the greeting, a silent read) within a few tens of
// milliseconds, then wait for the stream thread with a pumping wait, so a
// Command that the stream thread is delivering to a window of this thread
// (SendMessageA) completes instead of deadlocking. A stop therefore returns
// in well under a second in every state of the run.
//
// A run that a stop cuts short while it is still connecting posts
// WM_STREAM_DISCONNECTED, not WM_STREAM_CONNECT_FAILED: the user asked for
// the end, so there is no failure to report and errorText stays as it was.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "framework/critical_section.h"
#include "framework/worker_thread.h"
#include "link/core/device_info.h"
#include "link/link_cancel.h"
#include "video/conversion_thread.h"
#include "video/core/frame_section_layout.h"
#include "video/core/h264_decoder.h"
#include "video/video_frame_buffer.h"

class StreamWorker {
 public:
  // Text for a run without a device.
  static const char* const kNoDeviceText;
  // Text for a failed connection when the configuration gives no ConnTips.
  static const char* const kDefaultConnectFailedText;

  StreamWorker() : StreamWorker(frame_section::kName) {}
  // Tests publish to a section of their own name.
  explicit StreamWorker(std::string sectionName) : section_(std::move(sectionName)) {}
  // Stops the run as Stop does.
  ~StreamWorker();
  StreamWorker(const StreamWorker&) = delete;
  StreamWorker& operator=(const StreamWorker&) = delete;

  // The host text is kept but not used: the link always goes to 127.0.0.1.
  void SetEndpoint(const std::string& host, uint16_t port);
  void SetNotifyWindow(HWND window) { notifyWindow_ = window; }

  // Starts a run for a copy of `device` (null: the run fails at once with
  // kNoDeviceText). A run that is still alive is stopped and waited for first.
  void Start(const DeviceInfo* device);
  // Ends the run and waits for the stream thread, cancelling what it waits on.
  void Stop();
  // True while a stream thread is alive.
  bool IsRunning() const { return thread_.IsRunning(); }
  // Why the last connection failed.
  std::string GetErrorText() const;

  // The user's mirror buttons and the output orientation (from the next picture on).
  void SetUserFlip(int mirrorHorizontally, int flipVertically) {
    frameBuffer_.SetUserFlip(mirrorHorizontally, flipVertically);
  }
  void SetPortrait(bool portrait) { frameBuffer_.SetPortrait(portrait); }

  // The preview's frame: the newest frame when one arrived since the last
  // call (it replaces and recycles the previous current frame), else the
  // previous one again; null before the first frame. Owned by the worker;
  // valid until the next call.
  const VideoFrame* TakeNextFrame();

  // The device of the current or last run, if any.
  const DeviceInfo* device() const { return device_.get(); }
  const std::string& host() const { return host_; }
  uint16_t port() const { return port_; }
  VideoFrameBuffer& frameBuffer() { return frameBuffer_; }
  // Pictures published to the section so far.
  uint32_t published() const { return section_.published(); }

 private:
  // The stream thread's body, with its own copies of the run's settings.
  void Run(const std::optional<DeviceInfo>& device, HWND notify, uint16_t port);
  // Stops and joins a live run (pumping sent messages meanwhile).
  void EndRun();
  void Notify(HWND notify, UINT message) const;
  void SetErrorText(std::string text);
  // Makes `decoder` the one Stop reaches (null: none).
  void PublishDecoder(H264Decoder* decoder);

  std::string host_;
  uint16_t port_ = 8984;
  HWND notifyWindow_ = nullptr;
  std::atomic<int> stopRequested_{0};
  LinkCancel cancel_;  // set by a stop, reset by Start once the old run has ended

  mutable CriticalSection errorLock_;  // errorText_ is written by the stream thread
  std::string errorText_;

  FrameSection section_;  // written by the conversion thread only, through frameBuffer_
  VideoFrameBuffer frameBuffer_{&section_};
  ConversionThread conversion_{&frameBuffer_};  // started and stopped by the stream thread
  std::unique_ptr<VideoFrame> currentFrame_;    // window thread only
  std::unique_ptr<DeviceInfo> device_;          // window thread only

  CriticalSection decoderLock_;           // guards activeDecoder_
  H264Decoder* activeDecoder_ = nullptr;  // owned by the stream thread's run

  WorkerThread thread_;
};
