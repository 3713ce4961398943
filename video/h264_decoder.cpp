#include "video/h264_decoder.h"

#include <algorithm>
#include <cstring>

#include "link/core/link_message.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libavutil/imgutils.h>
#include <libavutil/mem.h>
#include <libswscale/swscale.h>
}

void H264Decoder::FreePacket::operator()(AVPacket* p) const {
  av_packet_free(&p);
}
void H264Decoder::FreeFrame::operator()(AVFrame* f) const {
  av_frame_free(&f);
}
void H264Decoder::FreeContext::operator()(AVCodecContext* c) const {
  avcodec_free_context(&c);
}
void H264Decoder::FreeParser::operator()(AVCodecParserContext* p) const {
  av_parser_close(p);
}
void H264Decoder::FreeScaler::operator()(SwsContext* s) const {
  sws_freeContext(s);
}
void H264Decoder::FreeAvMemory::operator()(uint8_t* p) const {
  av_free(p);
}

H264Decoder::H264Decoder() : input_(new uint8_t[kChunkSize + kChunkPadding]) {
  std::memset(input_.get() + kChunkSize, 0, kChunkPadding);
}

H264Decoder::~H264Decoder() {
  // Release order: parser, codec context, decoded picture, packet, converter,
  // RGB picture with its pixels; the input buffer goes with the object.
  parser_.reset();
  context_.reset();
  decoded_.reset();
  packet_.reset();
  converter_.reset();
  rgb_.reset();
  rgbBuffer_.reset();
}

bool H264Decoder::Open() {
  if (!packet_) packet_.reset(av_packet_alloc());
  if (!packet_) return false;
  if (!codec_) codec_ = avcodec_find_decoder(AV_CODEC_ID_H264);
  if (!codec_) return false;
  if (!parser_) parser_.reset(av_parser_init(codec_->id));
  if (!parser_) return false;
  if (!context_) {
    AVCodecContext* c = avcodec_alloc_context3(codec_);
    if (!c) return false;
    if (avcodec_open2(c, codec_, nullptr) < 0) {
      avcodec_free_context(&c);
      return false;
    }
    context_.reset(c);
  }
  if (!decoded_) decoded_.reset(av_frame_alloc());
  return decoded_ != nullptr;
}

int H264Decoder::Feed(const LinkMessage& message) {
  return Feed(message.data.get(), message.length);
}

int H264Decoder::Feed(const uint8_t* data, int length) {
  if (!Open()) return 0;
  if (!data || length <= 0) return 1;

  bool failed = false;
  for (int offset = 0; offset < length; offset += kChunkSize) {
    const int chunk = std::min(kChunkSize, length - offset);
    std::memcpy(input_.get(), data + offset, chunk);
    const uint8_t* rest = input_.get();
    int remaining = chunk;
    while (remaining > 0) {
      if (stop_.load()) {
        failed = true;
        break;
      }
      const int used = av_parser_parse2(parser_.get(), context_.get(), &packet_->data, &packet_->size, rest,
                                        remaining, AV_NOPTS_VALUE, AV_NOPTS_VALUE, 0);
      if (used < 0) {
        failed = true;  // this chunk is abandoned; the walk goes on with the next one
        break;
      }
      rest += used;
      remaining -= used;
      if (packet_->size > 0) DecodePacket();
    }
  }
  return failed ? 0 : 1;
}

void H264Decoder::DecodePacket() {
  if (avcodec_send_packet(context_.get(), packet_.get()) < 0) return;
  // The packet only pointed into the parser's output; nothing of it is kept.
  packet_->data = nullptr;
  packet_->size = 0;
  // Any negative result, EAGAIN (more input needed) included, ends the step.
  while (avcodec_receive_frame(context_.get(), decoded_.get()) >= 0) {
    if (!PrepareConverter()) continue;
    sws_scale(converter_.get(), decoded_->data, decoded_->linesize, 0, decoded_->height, rgb_->data,
              rgb_->linesize);
    // Stopped, or nobody to take it: the step ends without delivering.
    if (stop_.load() || !sink_) return;
    sink_->OnFrame(rgb_.get());
  }
}

bool H264Decoder::PrepareConverter() {
  const AVFrame* d = decoded_.get();
  if (converter_ && d->width == convertedWidth_ && d->height == convertedHeight_ &&
      d->format == convertedFormat_)
    return true;
  converter_.reset();
  rgb_.reset();
  rgbBuffer_.reset();
  convertedWidth_ = convertedHeight_ = 0;
  convertedFormat_ = -1;
  if (d->width <= 0 || d->height <= 0) return false;

  std::unique_ptr<AVFrame, FreeFrame> rgb(av_frame_alloc());
  if (!rgb) return false;
  rgb->width = d->width;
  rgb->height = d->height;
  rgb->format = AV_PIX_FMT_RGB24;
  // Alignment 1: rows are packed, exactly width x 3 bytes.
  const int bytes = av_image_get_buffer_size(AV_PIX_FMT_RGB24, d->width, d->height, 1);
  if (bytes <= 0) return false;
  std::unique_ptr<uint8_t, FreeAvMemory> buffer(static_cast<uint8_t*>(av_malloc(bytes)));
  if (!buffer) return false;
  if (av_image_fill_arrays(rgb->data, rgb->linesize, buffer.get(), AV_PIX_FMT_RGB24, d->width, d->height, 1) <
      0)
    return false;
  std::unique_ptr<SwsContext, FreeScaler> converter(
      sws_getContext(d->width, d->height, static_cast<AVPixelFormat>(d->format), d->width, d->height,
                     AV_PIX_FMT_RGB24, SWS_FAST_BILINEAR, nullptr, nullptr, nullptr));
  if (!converter) return false;

  converter_ = std::move(converter);
  rgb_ = std::move(rgb);
  rgbBuffer_ = std::move(buffer);
  convertedWidth_ = d->width;
  convertedHeight_ = d->height;
  convertedFormat_ = d->format;
  return true;
}
