#include "video/core/rgb_converter.h"

#include <cstdlib>
#include <cstring>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

namespace {

constexpr uint8_t kGuardByte = 0xA5;

// The plane pointers of `f` moved to pixel (x, y); false for layouts whose
// planes cannot be offset (palettes, bit-packed and hardware formats).
bool OffsetPlanes(const AVFrame* f, int x, int y, const uint8_t* planes[4]) {
  const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(f->format));
  if (!d || (d->flags & (AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_PAL)))
    return false;
  for (int i = 0; i < 4; ++i) {
    planes[i] = nullptr;
    if (!f->data[i]) continue;
    const AVComponentDescriptor* comp = nullptr;
    for (int c = 0; c < d->nb_components && !comp; ++c)
      if (d->comp[c].plane == i) comp = &d->comp[c];
    if (!comp) return false;
    // Planes 1 and 2 are the subsampled chroma planes of planar YUV (the
    // shifts are 0 for every other layout).
    const bool chroma = i == 1 || i == 2;
    const int px = chroma ? x >> d->log2_chroma_w : x;
    const int py = chroma ? y >> d->log2_chroma_h : y;
    planes[i] =
        f->data[i] + static_cast<ptrdiff_t>(py) * f->linesize[i] + static_cast<ptrdiff_t>(px) * comp->step;
  }
  return true;
}

}  // namespace

const AVFrame* RgbConverter::Convert(const AVFrame* decoded) {
  if (!decoded) return nullptr;
  SourceCrop whole;
  whole.width = whole.scaledWidth = decoded->width;
  whole.height = whole.scaledHeight = decoded->height;
  return Convert(decoded, whole);
}

bool RgbConverter::PrepareFor(const AVFrame* decoded, const SourceCrop& crop, const uint8_t* planes[4]) {
  if (!decoded || crop.x < 0 || crop.y < 0 || crop.width <= 0 || crop.height <= 0 ||
      crop.x + crop.width > decoded->width || crop.y + crop.height > decoded->height)
    return false;
  return OffsetPlanes(decoded, crop.x, crop.y, planes) && Prepare(decoded->format, crop);
}

const AVFrame* RgbConverter::Convert(const AVFrame* decoded, const SourceCrop& crop) {
  const uint8_t* planes[4];
  if (!PrepareFor(decoded, crop, planes) || !EnsurePicture()) return nullptr;
  AVFrame* rgb = rgb_.get();
  sws_scale(scaler_.get(), planes, decoded->linesize, 0, crop.height, rgb->data, rgb->linesize);
  if (GuardIntact()) return rgb;
  // Whatever lies beyond the guard may be damaged too; start afresh.
  ++overruns_;
  scaler_.reset();
  rgb_.reset();
  pixels_.reset();
  format_ = -1;
  return nullptr;
}

bool RgbConverter::ConvertInto(const AVFrame* decoded, const SourceCrop& crop, uint8_t* firstRow,
                               int rowStep) {
  if (!firstRow || crop.scaledWidth % kDirectWidthMultiple != 0 || std::abs(rowStep) < crop.scaledWidth * 3)
    return false;
  const uint8_t* planes[4];
  if (!PrepareFor(decoded, crop, planes)) return false;
  uint8_t* const rows[4] = {firstRow, nullptr, nullptr, nullptr};
  const int steps[4] = {rowStep, 0, 0, 0};
  sws_scale(scaler_.get(), planes, decoded->linesize, 0, crop.height, rows, steps);
  return true;
}

bool RgbConverter::GuardIntact() const {
  const uint8_t* guard = pixels_.get() + pictureBytes_ + kTailSlack;
  for (int i = 0; i < kGuardSize; ++i)
    if (guard[i] != kGuardByte) return false;
  return true;
}

bool RgbConverter::Prepare(int format, const SourceCrop& c) {
  if (scaler_ && format == format_ && c.width == srcWidth_ && c.height == srcHeight_ &&
      c.scaledWidth == outWidth_ && c.scaledHeight == outHeight_)
    return true;
  scaler_.reset();
  srcWidth_ = srcHeight_ = outWidth_ = outHeight_ = 0;
  format_ = -1;
  if (c.scaledWidth <= 0 || c.scaledHeight <= 0 || format < 0) return false;

  // Same size: a plain conversion (swscale picks its unscaled path whatever
  // the filter). Scaled: bilinear, widened to the scale factor when shrinking.
  ScalerOwner scaler(sws_getContext(c.width, c.height, static_cast<AVPixelFormat>(format), c.scaledWidth,
                                    c.scaledHeight, output_, SWS_BILINEAR, nullptr, nullptr, nullptr));
  if (!scaler) return false;

  scaler_ = std::move(scaler);
  srcWidth_ = c.width;
  srcHeight_ = c.height;
  outWidth_ = c.scaledWidth;
  outHeight_ = c.scaledHeight;
  format_ = format;
  ++builds_;
  return true;
}

bool RgbConverter::EnsurePicture() {
  if (rgb_ && rgb_.get()->width == outWidth_ && rgb_.get()->height == outHeight_) return true;
  rgb_.reset();
  pixels_.reset();
  FrameOwner rgb(av_frame_alloc());
  if (!rgb) return false;
  rgb.get()->width = outWidth_;
  rgb.get()->height = outHeight_;
  rgb.get()->format = output_;
  // Alignment 1: rows are packed, exactly width x 3 bytes.
  const int bytes = av_image_get_buffer_size(output_, outWidth_, outHeight_, 1);
  if (bytes <= 0) return false;
  AvMemoryOwner pixels(
      static_cast<uint8_t*>(av_malloc(static_cast<size_t>(bytes) + kTailSlack + kGuardSize)));
  if (!pixels) return false;
  std::memset(pixels.get() + bytes + kTailSlack, kGuardByte, kGuardSize);
  if (av_image_fill_arrays(rgb.get()->data, rgb.get()->linesize, pixels.get(), output_, outWidth_, outHeight_,
                           1) < 0)
    return false;
  rgb_ = std::move(rgb);
  pixels_ = std::move(pixels);
  pictureBytes_ = bytes;
  return true;
}
