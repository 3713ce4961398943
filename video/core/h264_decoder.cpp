#include "video/core/h264_decoder.h"

#include <algorithm>
#include <cstring>

#include "link/core/link_message.h"

static_assert(H264Decoder::kChunkPadding >= AV_INPUT_BUFFER_PADDING_SIZE,
              "the parser may read AV_INPUT_BUFFER_PADDING_SIZE bytes past its input");

H264Decoder::H264Decoder() : input_(kChunkSize + kChunkPadding, 0) {}

H264Decoder::~H264Decoder() {
  // Release order: parser, codec context, decoded picture, packet; the
  // input buffer goes with the object.
  parser_.reset();
  context_.reset();
  decoded_.reset();
  packet_.reset();
}

bool H264Decoder::Open() {
  if (!packet_) packet_.reset(av_packet_alloc());
  if (!packet_) return false;
  if (!codec_) codec_ = avcodec_find_decoder(AV_CODEC_ID_H264);
  if (!codec_) return false;
  if (!parser_) parser_.reset(av_parser_init(codec_->id));
  if (!parser_) return false;
  if (!context_) {
    CodecContextOwner c(avcodec_alloc_context3(codec_));
    if (!c || avcodec_open2(c.get(), codec_, nullptr) < 0) return false;
    context_ = std::move(c);
  }
  if (!decoded_) decoded_.reset(av_frame_alloc());
  return decoded_.valid();
}

int H264Decoder::Feed(const LinkMessage& message) {
  return Feed(message.data.get(), message.length);
}

int H264Decoder::Feed(const uint8_t* data, int length) {
  if (!Open()) return 0;
  if (!data || length <= 0) return 1;

  AVPacket* packet = packet_.get();
  bool failed = false;
  for (int offset = 0; offset < length; offset += kChunkSize) {
    const int chunk = std::min(kChunkSize, length - offset);
    std::memcpy(input_.data(), data + offset, chunk);
    // The parser reads ahead past the data: what it finds there must be zeros.
    std::memset(input_.data() + chunk, 0, kChunkPadding);
    const uint8_t* rest = input_.data();
    int remaining = chunk;
    while (remaining > 0) {
      if (stop_.load()) {
        failed = true;
        break;
      }
      const int used = av_parser_parse2(parser_.get(), context_.get(), &packet->data, &packet->size, rest,
                                        remaining, AV_NOPTS_VALUE, AV_NOPTS_VALUE, 0);
      if (used < 0) {
        failed = true;  // this chunk is abandoned; the walk goes on with the next one
        break;
      }
      rest += used;
      remaining -= used;
      if (packet->size > 0) DecodePacket();
    }
  }
  return failed ? 0 : 1;
}

void H264Decoder::DecodePacket() {
  AVPacket* packet = packet_.get();
  if (avcodec_send_packet(context_.get(), packet) < 0) return;
  // The packet only pointed into the parser's output; nothing of it is kept.
  packet->data = nullptr;
  packet->size = 0;
  // Any negative result, EAGAIN (more input needed) included, ends the step.
  while (avcodec_receive_frame(context_.get(), decoded_.get()) >= 0) {
    // Stopped, or nobody to take it: the step ends without delivering.
    if (stop_.load() || !sink_) return;
    sink_->OnFrame(decoded_.get());
  }
}
