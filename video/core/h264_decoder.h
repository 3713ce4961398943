// Turns the pieces of one H.264 elementary stream (the payloads of Video
// messages) into decoded pictures and hands each to an IFrameBuffer, which
// converts them to what it needs.
// One decoder per connection run; every call but RequestStop comes from the
// stream thread.
#pragma once
#include <atomic>
#include <cstdint>
#include <vector>

#include "video/core/ffmpeg_owners.h"
#include "video/core/frame_buffer.h"

struct LinkMessage;

class H264Decoder {
 public:
  // Input is parsed in chunks of this size, copied into a fixed buffer whose
  // bytes after the chunk are zeroed: the parser may read that far past the
  // data (AV_INPUT_BUFFER_PADDING_SIZE).
  static constexpr int kChunkSize = 4096;
  static constexpr int kChunkPadding = 64;

  H264Decoder();
  ~H264Decoder();
  H264Decoder(const H264Decoder&) = delete;
  H264Decoder& operator=(const H264Decoder&) = delete;

  // Not owned; receives every decoded picture. Null: pictures are decoded and dropped.
  void SetFrameSink(IFrameBuffer* sink) { sink_ = sink; }

  // Parses and decodes one piece of the stream. Returns 1 when every chunk
  // was parsed without error and no stop was requested, else 0. An empty
  // piece returns 1 and decodes nothing.
  int Feed(const uint8_t* data, int length);
  int Feed(const LinkMessage& message);

  // Any thread: the Feed in progress stops at its next parser step and no
  // further picture reaches the sink. Never undone.
  void RequestStop() { stop_.store(1); }
  bool StopRequested() const { return stop_.load() != 0; }

 private:
  bool Open();
  void DecodePacket();

  std::atomic<int> stop_{0};
  FrameOwner decoded_;
  PacketOwner packet_;
  const AVCodec* codec_ = nullptr;
  std::vector<uint8_t> input_;  // kChunkSize + kChunkPadding bytes
  IFrameBuffer* sink_ = nullptr;
  CodecContextOwner context_;
  ParserOwner parser_;
};
