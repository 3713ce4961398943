#include "video/core/rgb_converter.h"

#include <cstring>

extern "C" {
#include <libavutil/imgutils.h>
}

namespace {
constexpr uint8_t kGuardByte = 0xA5;
}

const AVFrame* RgbConverter::Convert(const AVFrame* decoded) {
  if (!decoded || !Prepare(decoded)) return nullptr;
  AVFrame* rgb = rgb_.get();
  sws_scale(scaler_.get(), decoded->data, decoded->linesize, 0, decoded->height, rgb->data, rgb->linesize);
  if (GuardIntact()) return rgb;
  // Whatever lies beyond the guard may be damaged too; start afresh.
  ++overruns_;
  scaler_.reset();
  rgb_.reset();
  pixels_.reset();
  format_ = -1;
  return nullptr;
}

bool RgbConverter::GuardIntact() const {
  const uint8_t* guard = pixels_.get() + pictureBytes_ + kTailSlack;
  for (int i = 0; i < kGuardSize; ++i)
    if (guard[i] != kGuardByte) return false;
  return true;
}

bool RgbConverter::Prepare(const AVFrame* d) {
  if (scaler_ && d->width == width_ && d->height == height_ && d->format == format_) return true;
  scaler_.reset();
  rgb_.reset();
  pixels_.reset();
  width_ = height_ = 0;
  format_ = -1;
  if (d->width <= 0 || d->height <= 0 || d->format < 0) return false;

  FrameOwner rgb(av_frame_alloc());
  if (!rgb) return false;
  rgb.get()->width = d->width;
  rgb.get()->height = d->height;
  rgb.get()->format = AV_PIX_FMT_RGB24;
  // Alignment 1: rows are packed, exactly width x 3 bytes.
  const int bytes = av_image_get_buffer_size(AV_PIX_FMT_RGB24, d->width, d->height, 1);
  if (bytes <= 0) return false;
  AvMemoryOwner pixels(
      static_cast<uint8_t*>(av_malloc(static_cast<size_t>(bytes) + kTailSlack + kGuardSize)));
  if (!pixels) return false;
  std::memset(pixels.get() + bytes + kTailSlack, kGuardByte, kGuardSize);
  if (av_image_fill_arrays(rgb.get()->data, rgb.get()->linesize, pixels.get(), AV_PIX_FMT_RGB24, d->width,
                           d->height, 1) < 0)
    return false;
  ScalerOwner scaler(sws_getContext(d->width, d->height, static_cast<AVPixelFormat>(d->format), d->width,
                                    d->height, AV_PIX_FMT_RGB24, SWS_FAST_BILINEAR, nullptr, nullptr,
                                    nullptr));
  if (!scaler) return false;

  scaler_ = std::move(scaler);
  rgb_ = std::move(rgb);
  pixels_ = std::move(pixels);
  pictureBytes_ = bytes;
  width_ = d->width;
  height_ = d->height;
  format_ = d->format;
  ++builds_;
  return true;
}
