#include "tools/phone_simulator/png_encoder.h"

#include <cstring>

#include "video/core/ffmpeg_owners.h"

namespace phone_sim {

bool EncodePng(const RgbaPicture& picture, std::vector<uint8_t>* png, std::string* error) {
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_PNG);
  CodecContextOwner context(codec ? avcodec_alloc_context3(codec) : nullptr);
  FrameOwner frame(av_frame_alloc());
  PacketOwner packet(av_packet_alloc());
  if (!context || !frame || !packet) {
    *error = "no PNG encoder in this FFmpeg";
    return false;
  }
  context.get()->width = picture.width;
  context.get()->height = picture.height;
  context.get()->pix_fmt = AV_PIX_FMT_RGBA;
  context.get()->time_base = AVRational{1, 1};
  AVFrame* f = frame.get();
  f->width = picture.width;
  f->height = picture.height;
  f->format = AV_PIX_FMT_RGBA;
  if (avcodec_open2(context.get(), codec, nullptr) < 0 || av_frame_get_buffer(f, 0) < 0) {
    *error = "the PNG encoder refused a " + std::to_string(picture.width) + "x" +
             std::to_string(picture.height) + " picture";
    return false;
  }
  const size_t row_bytes = static_cast<size_t>(picture.width) * 4;
  for (int y = 0; y < picture.height; ++y)
    std::memcpy(f->data[0] + static_cast<ptrdiff_t>(y) * f->linesize[0], &picture.pixels[y * row_bytes],
                row_bytes);
  // One picture in, one packet out; the flush ends the encoder's stream.
  if (avcodec_send_frame(context.get(), f) < 0 || avcodec_send_frame(context.get(), nullptr) < 0 ||
      avcodec_receive_packet(context.get(), packet.get()) < 0) {
    *error = "the PNG encoder failed";
    return false;
  }
  png->assign(packet.get()->data, packet.get()->data + packet.get()->size);
  return true;
}

}  // namespace phone_sim
