#include "video/video_frame_buffer.h"

#include <utility>

extern "C" {
#include <libavutil/frame.h>
}

void VideoFrameBuffer::SetReverse(int reverseV, int reverseH) {
  reverseV_ = reverseV;
  reverseH_ = reverseH;
}

void VideoFrameBuffer::SetUserFlip(int userMirror, int userFlip) {
  userMirror_ = userMirror;
  userFlip_ = userFlip;
}

void VideoFrameBuffer::SetPreviewArea(int width, int height) {
  previewWidth_ = width > 0 ? width : 0;
  previewHeight_ = height > 0 ? height : 0;
}

void VideoFrameBuffer::SetPortrait(bool portrait) {
  portrait_ = portrait ? 1 : 0;
}

void VideoFrameBuffer::OnFrame(const AVFrame* picture) {
  if (!picture || !picture->data[0] || picture->width <= 0 || picture->height <= 0) return;
  std::unique_ptr<VideoFrame> frame = Render(picture);
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

std::unique_ptr<VideoFrame> VideoFrameBuffer::Render(const AVFrame* picture) {
  // One snapshot of the settings per picture: a change applies from the next one.
  const bool portrait = portrait_.load() != 0;
  const int tw = portrait ? kLandscapeHeight : kLandscapeWidth;
  const int th = portrait ? kLandscapeWidth : kLandscapeHeight;
  const Orientation o = ChooseOrientation(picture->width, picture->height, portrait, reverseV_.load(),
                                          reverseH_.load(), userMirror_.load(), userFlip_.load());
  // Only the part that stays visible is converted, scaled straight to the
  // output size in the same pass; the small picture is then turned and
  // mirrored into the frame.
  const SourceCrop crop = ComputeSourceCrop(picture->width, picture->height, o, tw, th);
  std::unique_ptr<VideoFrame> frame = AcquireFrame(tw, th);
  if (!frame || !ConvertOriented(converter_, picture, o, crop, frame.get())) return nullptr;
  RenderPreview(picture, o, crop, frame.get());
  return frame;
}

bool VideoFrameBuffer::ConvertOriented(RgbConverter& converter, const AVFrame* picture, const Orientation& o,
                                       const SourceCrop& crop, VideoFrame* frame) {
  // Upright or only flipped: swscale writes the rows straight into the
  // bottom-up bitmap, top row last in memory unless flipped.
  if (!o.rotated && !o.mirror) {
    const int step = frame->stride();
    uint8_t* top =
        o.flip ? frame->bits() : frame->bits() + static_cast<ptrdiff_t>(frame->height() - 1) * step;
    if (converter.ConvertInto(picture, crop, top, o.flip ? step : -step)) return true;
  }
  const AVFrame* rgb = converter.Convert(picture, crop);
  if (!rgb) return false;
  OrientToBottomUp(rgb->data[0], rgb->width, rgb->height, rgb->linesize[0], o, frame->bits(),
                   frame->stride());
  return true;
}

void VideoFrameBuffer::RenderPreview(const AVFrame* picture, const Orientation& o, SourceCrop crop,
                                     VideoFrame* frame) {
  int pw, ph;
  FitSize(previewWidth_.load(), previewHeight_.load(), frame->width(), frame->height(), &pw, &ph);
  if (pw <= 0 || ph <= 0 || (pw == frame->width() && ph == frame->height())) {
    frame->SetPreview(nullptr);  // nothing to show, or the frame itself is the right size
    return;
  }
  // swscale's fast path needs an even output width: the side that becomes
  // it is rounded down, and the preview centres the picture one pixel
  // narrower (or lower) in its rectangle.
  if (o.rotated)
    ph &= ~1;
  else
    pw &= ~1;
  crop.scaledWidth = o.rotated ? ph : pw;
  crop.scaledHeight = o.rotated ? pw : ph;
  VideoFrame* small = frame->preview();
  if (!small || small->width() != pw || small->height() != ph) {
    frame->SetPreview(VideoFrame::Create(pw, ph));
    small = frame->preview();
  }
  if (!small || !ConvertOriented(previewConverter_, picture, o, crop, small))
    frame->SetPreview(nullptr);  // the preview stretches the frame instead
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
