#include "video/core/h264_decoder.h"

#include <algorithm>
#include <cstring>

#include "link/core/link_message.h"
#include "video/core/access_unit_scan.h"

static_assert(H264Decoder::kChunkPadding >= AV_INPUT_BUFFER_PADDING_SIZE,
              "the parser may read AV_INPUT_BUFFER_PADDING_SIZE bytes past its input");
static_assert(KeyFrameRecording::kPadding >= AV_INPUT_BUFFER_PADDING_SIZE,
              "the codec may read AV_INPUT_BUFFER_PADDING_SIZE bytes past a whole message");

H264Decoder::H264Decoder() : input_(kChunkSize + kChunkPadding, 0) {}

H264Decoder::~H264Decoder() {
  // Release order: parser, codec context, decoded pictures, packet; the
  // input buffers go with the object.
  parser_.reset();
  context_.reset();
  decoded_.reset();
  held_.reset();
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
  if (!held_) held_.reset(av_frame_alloc());
  return decoded_.valid() && held_.valid();
}

H264Decoder::Next H264Decoder::NextOf(const uint8_t* data, int length) {
  if (!data || length <= 0) return Next::kUnknown;
  return ScanAccessUnits(data, static_cast<size_t>(length)).beginsAccessUnit ? Next::kBeginsPicture
                                                                             : Next::kContinues;
}

int H264Decoder::Feed(const LinkMessage& message, Next next) {
  return Feed(message.data.get(), message.length, next);
}

int H264Decoder::Feed(const uint8_t* data, int length, Next next) {
  if (!Open()) return 0;
  if (!data || length <= 0) return 1;
  if (stop_.load()) return 0;

  const AccessUnitScan scan = ScanAccessUnits(data, static_cast<size_t>(length));
  const bool onePicture = scan.beginsAccessUnit && scan.picturesStarted == 1;
  if (onePicture && scan.keyFrameStarted) {
    recording_.Restart(data, static_cast<size_t>(length));
  } else {
    recording_.Append(data, static_cast<size_t>(length), scan.picturesStarted);
  }
  // A codec that reorders pictures gives each out only after later ones
  // arrived: nothing would be gained, and a held picture would no longer
  // belong to the message just sent. Without the recording, a cut picture
  // could not be mended.
  const bool sendWhole =
      onePicture && next != Next::kContinues && recording_.complete() && context_.get()->has_b_frames == 0;
  if (wholeMessages_)
    return sendWhole ? DecodeMessage() : ReturnToParser(data, length, scan.beginsAccessUnit);
  wholePicturesInARow_ = sendWhole ? wholePicturesInARow_ + 1 : 0;
  if (wholePicturesInARow_ < picturesToTrust_) return Parse(data, length);
  LeaveParser();
  return DecodeMessage();
}

int H264Decoder::Parse(const uint8_t* data, int length) {
  if (!parser_) return 0;
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

void H264Decoder::LeaveParser() {
  // The parser still holds the previous message's picture, waiting for the
  // next one to begin; a call without input hands it over.
  AVPacket* packet = packet_.get();
  av_parser_parse2(parser_.get(), context_.get(), &packet->data, &packet->size, nullptr, 0, AV_NOPTS_VALUE,
                   AV_NOPTS_VALUE, 0);
  if (packet->size > 0) DecodePacket();
  // A fresh parser for when the pattern breaks: nothing of the old stream in
  // it. Should this fail, the next Open tries again.
  parser_.reset(av_parser_init(codec_->id));
  wholeMessages_ = true;
}

int H264Decoder::DecodeMessage() {
  // This message begins a new picture, so the held one was not cut short:
  // it was damaged at the source and is shown as it is.
  ReleaseHeld(true);
  messageUnfinished_ = true;
  picturesBeforeMessage_ = recording_.picturesBeforeLastMessage();
  // The recording keeps the codec's zero padding after the message.
  AVPacket* packet = packet_.get();
  packet->data = recording_.lastMessage();
  packet->size = static_cast<int>(recording_.lastMessageSize());
  DecodePacket();
  return stop_.load() ? 0 : 1;
}

int H264Decoder::ReturnToParser(const uint8_t* data, int length, bool beginsAccessUnit) {
  wholeMessages_ = false;
  wholePicturesInARow_ = 0;
  // A message that begins an access unit follows a whole one: the held
  // picture was damaged at the source. Otherwise it goes on with the
  // previous message, whose picture was cut short.
  ReleaseHeld(beginsAccessUnit);
  const bool cut = messageUnfinished_ && !beginsAccessUnit;
  messageUnfinished_ = false;
  if (!cut || !recording_.complete()) return Parse(data, length);
  ++decodedAgain_;
  picturesToTrust_ = std::min(2 * picturesToTrust_, kMostPicturesToTrust);
  DecodeAgainFromKeyFrame();
  const int result = Parse(recording_.data(), static_cast<int>(recording_.size()));
  // Should the codec have given fewer pictures than the first time, later
  // ones are not held back for it.
  picturesToSkip_ = 0;
  return result;
}

void H264Decoder::DecodeAgainFromKeyFrame() {
  // The codec took the first part of the cut picture as a whole picture, and
  // to make room for it as a reference dropped the picture it is predicted
  // from: sent whole now, it would be predicted from its damaged self. So
  // the codec starts afresh and the parser gets the stream again from the
  // key frame on, this message included; the pictures before the cut one
  // come out once more and are not delivered again.
  avcodec_flush_buffers(context_.get());
  picturesToSkip_ = picturesBeforeMessage_;
}

void H264Decoder::DecodePacket() {
  AVPacket* packet = packet_.get();
  const int sent = avcodec_send_packet(context_.get(), packet);
  // The packet only pointed into the parser's output or the recording;
  // nothing of it is kept.
  packet->data = nullptr;
  packet->size = 0;
  if (sent < 0) return;
  // Any negative result, EAGAIN (more input needed) included, ends the step.
  while (avcodec_receive_frame(context_.get(), decoded_.get()) >= 0) {
    // Slices were missing (the codec concealed them): perhaps the message
    // was cut, which only the next message can tell. One picture per
    // message, so at most one is held.
    if (wholeMessages_ && decoded_.get()->decode_error_flags != 0) {
      av_frame_unref(held_.get());
      holding_ = av_frame_ref(held_.get(), decoded_.get()) >= 0;
      continue;
    }
    if (wholeMessages_) messageUnfinished_ = false;
    Deliver(decoded_.get());
  }
}

void H264Decoder::Deliver(const AVFrame* picture) {
  if (picturesToSkip_ > 0) {
    --picturesToSkip_;
    return;
  }
  // Stopped, or nobody to take it: the picture is dropped.
  if (stop_.load() || !sink_) return;
  sink_->OnFrame(picture);
}

void H264Decoder::ReleaseHeld(bool deliver) {
  if (!holding_) return;
  holding_ = false;
  if (deliver) Deliver(held_.get());
  av_frame_unref(held_.get());
}
