#include "tests/phone_simulator/test_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

test_pattern::Rgb RgbPicture::AverageAround(int x, int y) const {
  int sum[3] = {0, 0, 0}, count = 0;
  for (int dy = -4; dy <= 4; ++dy)
    for (int dx = -4; dx <= 4; ++dx) {
      int px = x + dx, py = y + dy;
      if (px < 0 || py < 0 || px >= width || py >= height) continue;
      test_pattern::Rgb c = At(px, py);
      sum[0] += c.r;
      sum[1] += c.g;
      sum[2] += c.b;
      ++count;
    }
  if (count == 0) return {0, 0, 0};
  return {static_cast<uint8_t>(sum[0] / count), static_cast<uint8_t>(sum[1] / count),
          static_cast<uint8_t>(sum[2] / count)};
}

std::vector<int> RgbPicture::CornerClasses() const {
  int px = width / 8, py = height / 8;  // middle of a W/4 x H/4 patch
  return {test_pattern::ClassifyCornerColour(AverageAround(px, py)),
          test_pattern::ClassifyCornerColour(AverageAround(width - 1 - px, py)),
          test_pattern::ClassifyCornerColour(AverageAround(px, height - 1 - py)),
          test_pattern::ClassifyCornerColour(AverageAround(width - 1 - px, height - 1 - py))};
}

bool RgbPicture::ReadStamp(test_pattern::Stamp* stamp) const {
  return test_pattern::ReadStamp([this](int x, int y) { return test_pattern::Luma(At(x, y)); }, width, height,
                                 stamp);
}

TestDecoder::TestDecoder() {
  const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_H264);
  if (!codec) return;
  parser_ = av_parser_init(codec->id);
  context_ = avcodec_alloc_context3(codec);
  if (!parser_ || !context_ || avcodec_open2(context_, codec, nullptr) < 0) {
    avcodec_free_context(&context_);
    return;
  }
  frame_ = av_frame_alloc();
  packet_ = av_packet_alloc();
}

TestDecoder::~TestDecoder() {
  if (parser_) av_parser_close(parser_);
  avcodec_free_context(&context_);
  av_frame_free(&frame_);
  av_packet_free(&packet_);
  sws_freeContext(sws_);
}

void TestDecoder::Feed(const uint8_t* data, size_t size, std::vector<RgbPicture>* out) {
  // The parser may read up to AV_INPUT_BUFFER_PADDING_SIZE bytes past the input.
  std::vector<uint8_t> padded(data, data + size);
  padded.resize(size + AV_INPUT_BUFFER_PADDING_SIZE, 0);
  const uint8_t* p = padded.data();
  int left = static_cast<int>(size);
  while (left > 0) {
    int used = av_parser_parse2(parser_, context_, &packet_->data, &packet_->size, p, left, AV_NOPTS_VALUE,
                                AV_NOPTS_VALUE, 0);
    if (used < 0) return;
    p += used;
    left -= used;
    if (packet_->size > 0) Decode(packet_, out);
  }
}

void TestDecoder::Flush(std::vector<RgbPicture>* out) {
  int used = av_parser_parse2(parser_, context_, &packet_->data, &packet_->size, nullptr, 0, AV_NOPTS_VALUE,
                              AV_NOPTS_VALUE, 0);
  if (used >= 0 && packet_->size > 0) Decode(packet_, out);
  Decode(nullptr, out);
}

void TestDecoder::Decode(AVPacket* packet, std::vector<RgbPicture>* out) {
  if (avcodec_send_packet(context_, packet) < 0) return;
  while (avcodec_receive_frame(context_, frame_) >= 0) {
    RgbPicture picture;
    picture.width = frame_->width;
    picture.height = frame_->height;
    picture.rgb.resize(static_cast<size_t>(picture.width) * picture.height * 3);
    sws_ = sws_getCachedContext(sws_, frame_->width, frame_->height,
                                static_cast<AVPixelFormat>(frame_->format), frame_->width, frame_->height,
                                AV_PIX_FMT_RGB24, SWS_FAST_BILINEAR, nullptr, nullptr, nullptr);
    uint8_t* planes[4] = {picture.rgb.data(), nullptr, nullptr, nullptr};
    int strides[4] = {picture.width * 3, 0, 0, 0};
    sws_scale(sws_, frame_->data, frame_->linesize, 0, frame_->height, planes, strides);
    out->push_back(std::move(picture));
  }
}
