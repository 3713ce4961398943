// RAII owners of the FFmpeg objects the decoder keeps for a run, in the one
// owner idiom of the code base (UniqueOwner with a traits type per kind).
#pragma once
#include <cstdint>

#include "framework/unique_owner.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libavutil/mem.h>
#include <libswscale/swscale.h>
}

// Every FFmpeg pointer is empty when null; only the release call differs.
namespace ffmpeg_release {
inline void Packet(AVPacket* p) {
  av_packet_free(&p);
}
inline void Frame(AVFrame* f) {
  av_frame_free(&f);
}
inline void CodecContext(AVCodecContext* c) {
  avcodec_free_context(&c);
}
inline void Parser(AVCodecParserContext* p) {
  av_parser_close(p);
}
inline void Scaler(SwsContext* s) {
  sws_freeContext(s);
}
inline void Memory(uint8_t* p) {
  av_free(p);
}
}  // namespace ffmpeg_release

using PacketOwner = UniqueOwner<AVPacket*, ReleasedBy<AVPacket, ffmpeg_release::Packet>>;
using FrameOwner = UniqueOwner<AVFrame*, ReleasedBy<AVFrame, ffmpeg_release::Frame>>;
using CodecContextOwner =
    UniqueOwner<AVCodecContext*, ReleasedBy<AVCodecContext, ffmpeg_release::CodecContext>>;
using ParserOwner =
    UniqueOwner<AVCodecParserContext*, ReleasedBy<AVCodecParserContext, ffmpeg_release::Parser>>;
using ScalerOwner = UniqueOwner<SwsContext*, ReleasedBy<SwsContext, ffmpeg_release::Scaler>>;
using AvMemoryOwner = UniqueOwner<uint8_t*, ReleasedBy<uint8_t, ffmpeg_release::Memory>>;
