#include "video/stream_worker.h"

#include <utility>

#include "config/core/app_globals.h"
#include "config/core/app_messages.h"
#include "link/link_reader.h"

const char* const StreamWorker::kNoDeviceText = "同步失败！";
const char* const StreamWorker::kDefaultConnectFailedText =
    "同步失败！请打开Vela相机手机APP并进入直播模式。\nTips：Vela相机APP，首页右滑进入个人中心，选择「Vela服务"
    " - "
    "直播助手」";

StreamWorker::~StreamWorker() {
  Stop();
}

void StreamWorker::SetEndpoint(const std::string& host, uint16_t port) {
  host_ = host;
  port_ = port;
}

std::string StreamWorker::GetErrorText() const {
  ScopedLock hold(errorLock_);
  return errorText_;
}

void StreamWorker::SetErrorText(std::string text) {
  ScopedLock hold(errorLock_);
  errorText_ = std::move(text);
}

void StreamWorker::Notify(HWND notify, UINT message) const {
  if (notify) PostMessageA(notify, message, 0, 0);
}

void StreamWorker::PublishDecoder(H264Decoder* decoder) {
  ScopedLock hold(decoderLock_);
  activeDecoder_ = decoder;
}

void StreamWorker::EndRun() {
  stopRequested_ = 1;
  cancel_.Set();  // the run's link gives up whatever it waits on
  {
    ScopedLock hold(decoderLock_);
    if (activeDecoder_) activeDecoder_->RequestStop();  // its current Feed returns early
  }
  // The stream thread may be inside SendMessageA to a window of this thread:
  // keep delivering sent messages while waiting for it.
  thread_.JoinPumping(INFINITE);
}

void StreamWorker::Stop() {
  EndRun();
}

void StreamWorker::Start(const DeviceInfo* device) {
  // A run that is still alive ends first; the new thread starts only after
  // the old one has finished (and released its decoder and reader).
  EndRun();
  device_.reset(device ? new DeviceInfo(*device) : nullptr);
  stopRequested_ = 0;
  cancel_.Reset();  // no link watches it: the old run has ended
  // The run gets its own copies, so nothing the window thread changes later
  // (the next Start, SetEndpoint, SetNotifyWindow) alters what it reads.
  std::optional<DeviceInfo> runDevice;
  if (device_) runDevice = *device_;
  const HWND notify = notifyWindow_;
  const uint16_t port = port_;
  if (!thread_.Start([this, runDevice, notify, port] { Run(runDevice, notify, port); })) {
    SetErrorText(kNoDeviceText);
    Notify(notify, WM_STREAM_CONNECT_FAILED);
  }
}

void StreamWorker::Run(const std::optional<DeviceInfo>& device, HWND notify, uint16_t port) {
  frameBuffer_.Reset();
  // Without its own thread the conversion cannot run: the run goes on
  // without pictures rather than converting on the stream thread.
  conversion_.Start();
  auto decoder = std::make_unique<H264Decoder>();
  decoder->SetFrameSink(&conversion_);
  PublishDecoder(decoder.get());
  auto releaseDecoder = [&] {
    PublishDecoder(nullptr);  // after this no other thread can reach it
    decoder->RequestStop();
    decoder.reset();
    conversion_.Stop();  // the picture in progress finishes; a waiting one is dropped
  };

  if (!device) {
    releaseDecoder();
    SetErrorText(kNoDeviceText);
    Notify(notify, WM_STREAM_CONNECT_FAILED);
    return;
  }

  auto reader = std::make_unique<LinkReader>(notify, &cancel_);
  if (!reader->Connect(device->kind, device->id, port)) {
    releaseDecoder();
    if (cancel_.IsSet()) {
      // Stopped while connecting: the end the user asked for, not a failure.
      Notify(notify, WM_STREAM_DISCONNECTED);
      return;
    }
    std::string tips = GetAppString(AppString::ConnTips);
    SetErrorText(tips.empty() ? kDefaultConnectFailedText : std::move(tips));
    Notify(notify, WM_STREAM_CONNECT_FAILED);
    return;  // the reader is destroyed here
  }

  int reverseV = 0, reverseH = 0;
  reader->GetReverseFlags(&reverseV, &reverseH);
  frameBuffer_.SetReverse(reverseV, reverseH);
  Notify(notify, WM_STREAM_CONNECTED);

  // One message of look-ahead, taken only when it has arrived already: a
  // Video message followed at once by another tells the decoder whether its
  // picture goes on in the next one (the decoder then does not take it as a
  // whole picture). The next message is never waited for before decoding.
  std::unique_ptr<LinkMessage> message = reader->ReadMessage();
  while (message && !stopRequested_.load()) {
    // Commands and blobs were delivered inside ReadMessage; only video is left.
    std::unique_ptr<LinkMessage> next;
    bool readAhead = false;
    if (message->Is(LinkMessageType::Video)) {
      H264Decoder::Next after = H264Decoder::Next::kUnknown;
      if (reader->HasWaitingBytes()) {
        next = reader->ReadMessage();
        readAhead = true;
        if (next && next->Is(LinkMessageType::Video))
          after = H264Decoder::NextOf(next->data.get(), next->length);
      }
      decoder->Feed(*message, after);
    }
    message = readAhead ? std::move(next) : reader->ReadMessage();
  }

  reader->Close();
  releaseDecoder();
  Notify(notify, WM_STREAM_DISCONNECTED);
  reader.reset();  // waits for the heartbeat thread
}

const VideoFrame* StreamWorker::TakeNextFrame() {
  if (std::unique_ptr<VideoFrame> next = frameBuffer_.TakeFrame()) {
    // The previous frame is done with: its memory goes back for a later picture.
    frameBuffer_.Recycle(std::exchange(currentFrame_, std::move(next)));
  }
  return currentFrame_.get();
}
