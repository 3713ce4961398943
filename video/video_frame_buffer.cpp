#include "video/video_frame_buffer.h"

#include <utility>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
}

namespace {

// A memory DC compatible with the desktop, deleted with the scope.
class CompatibleDC {
 public:
  explicit CompatibleDC(HDC ref) : dc_(CreateCompatibleDC(ref)) {}
  ~CompatibleDC() {
    if (dc_) DeleteDC(dc_);
  }
  CompatibleDC(const CompatibleDC&) = delete;
  CompatibleDC& operator=(const CompatibleDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

}  // namespace

void VideoFrameBuffer::SetReverse(int reverseV, int reverseH) {
  reverseV_ = reverseV;
  reverseH_ = reverseH;
}

void VideoFrameBuffer::SetUserFlip(int userMirror, int userFlip) {
  userMirror_ = userMirror;
  userFlip_ = userFlip;
}

void VideoFrameBuffer::SetPortrait(bool portrait) {
  portrait_ = portrait ? 1 : 0;
}

void VideoFrameBuffer::OnFrame(const AVFrame* picture) {
  if (!picture || picture->format != AV_PIX_FMT_RGB24 || !picture->data[0]) return;
  if (picture->width <= 0 || picture->height <= 0 || picture->linesize[0] < picture->width * 3) return;
  std::unique_ptr<VideoFrame> frame =
      Render(picture->data[0], picture->width, picture->height, picture->linesize[0]);
  if (!frame) return;

  // The cameras get the picture now, before the preview sees it; a section
  // that cannot be made now is tried again with the next picture.
  if (section_) section_->Publish(*frame);

  std::unique_ptr<VideoFrame> skipped;
  {
    ScopedLock hold(lock_);
    skipped = std::exchange(newest_, std::move(frame));
  }
  if (skipped) {
    ++dropped_;
    Recycle(std::move(skipped));
  }
}

std::unique_ptr<VideoFrame> VideoFrameBuffer::AcquireFrame(int width, int height) {
  std::unique_ptr<VideoFrame> spare;
  {
    ScopedLock hold(lock_);
    if (!spares_.empty()) {
      spare = std::move(spares_.back());
      spares_.pop_back();
    }
  }
  // A spare of another size (made before an orientation switch) is freed here, outside the lock.
  if (spare && spare->width() == width && spare->height() == height) return spare;
  return VideoFrame::Create(width, height);
}

void VideoFrameBuffer::Recycle(std::unique_ptr<VideoFrame> frame) {
  if (!frame) return;
  {
    ScopedLock hold(lock_);
    if (spares_.size() < static_cast<size_t>(kMaxSpareFrames)) {
      spares_.push_back(std::move(frame));
      return;
    }
  }
  // No room: `frame` is freed here, outside the lock.
}

std::unique_ptr<VideoFrame> VideoFrameBuffer::Render(const uint8_t* rgb, int width, int height, int stride) {
  // One snapshot of the settings per picture: a change applies from the next one.
  const bool portrait = portrait_.load() != 0;
  const int tw = portrait ? kLandscapeHeight : kLandscapeWidth;
  const int th = portrait ? kLandscapeWidth : kLandscapeHeight;
  const Orientation o = ChooseOrientation(width, height, portrait, reverseV_.load(), reverseH_.load(),
                                          userMirror_.load(), userFlip_.load());
  int ow, oh;
  OrientedSize(width, height, o, &ow, &oh);

  if (ow == tw && oh == th) {
    // Already the output size: the oriented picture is the frame.
    std::unique_ptr<VideoFrame> frame = AcquireFrame(tw, th);
    if (frame) OrientRgbToBottomUpBgr(rgb, width, height, stride, o, frame->bits(), frame->stride());
    return frame;
  }

  // The oriented picture is only an intermediate here; one of its size is
  // kept for the next picture (the stream thread alone uses it).
  if (!scratch_ || scratch_->width() != ow || scratch_->height() != oh) {
    scratch_.reset();
    scratch_ = VideoFrame::Create(ow, oh);
    if (!scratch_) return nullptr;
  }
  VideoFrame* oriented = scratch_.get();
  OrientRgbToBottomUpBgr(rgb, width, height, stride, o, oriented->bits(), oriented->stride());

  // Fill the output completely, keeping the aspect ratio; the overflow is
  // cropped equally on both sides.
  const FillPlacement p = ComputeFillPlacement(ow, oh, tw, th);
  std::unique_ptr<VideoFrame> out = AcquireFrame(tw, th);
  if (!out) return nullptr;
  ClientDC desktop(GetDesktopWindow());
  CompatibleDC src(desktop.get());
  CompatibleDC dst(desktop.get());
  if (!src.get() || !dst.get()) return nullptr;
  {
    SelectScope srcBitmap(src.get(), oriented->bitmap());
    SelectScope dstBitmap(dst.get(), out->bitmap());
    SetStretchBltMode(dst.get(), HALFTONE);
    SetBrushOrgEx(dst.get(), 0, 0, nullptr);  // required after choosing HALFTONE
    BOOL ok;
    if (p.cropOnly) {
      ok = BitBlt(dst.get(), p.left, p.top, p.width, p.height, src.get(), 0, 0, SRCCOPY);
    } else {
      ok = StretchBlt(dst.get(), p.left, p.top, p.width, p.height, src.get(), 0, 0, ow, oh, SRCCOPY);
    }
    if (!ok) return nullptr;
  }
  // The pixels are read through the DIB pointer: finish GDI's batched drawing first.
  GdiFlush();
  return out;
}

std::unique_ptr<VideoFrame> VideoFrameBuffer::TakeFrame() {
  ScopedLock hold(lock_);
  return std::move(newest_);
}

void VideoFrameBuffer::Reset() {
  std::unique_ptr<VideoFrame> old;
  {
    ScopedLock hold(lock_);
    old = std::move(newest_);
  }
  // `old` is freed here, outside the lock.
}
