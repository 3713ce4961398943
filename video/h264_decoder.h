// Turns the pieces of one H.264 elementary stream (the payloads of Video
// messages) into packed RGB24 pictures and hands each to an IFrameBuffer.
// One decoder per connection run; every call but RequestStop comes from the
// stream thread.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

#include "video/frame_buffer.h"

struct AVCodec;
struct AVCodecContext;
struct AVCodecParserContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;
struct LinkMessage;

class H264Decoder {
 public:
  // Input is parsed in chunks of this size, copied into a fixed buffer that
  // ends in zeroed padding the parser may read past the data.
  static constexpr int kChunkSize = 4096;
  static constexpr int kChunkPadding = 32;

  H264Decoder();
  ~H264Decoder();
  H264Decoder(const H264Decoder&) = delete;
  H264Decoder& operator=(const H264Decoder&) = delete;

  // Not owned; receives every converted picture. Null: pictures are decoded and dropped.
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
  struct FreePacket {
    void operator()(AVPacket* p) const;
  };
  struct FreeFrame {
    void operator()(AVFrame* f) const;
  };
  struct FreeContext {
    void operator()(AVCodecContext* c) const;
  };
  struct FreeParser {
    void operator()(AVCodecParserContext* p) const;
  };
  struct FreeScaler {
    void operator()(SwsContext* s) const;
  };
  struct FreeAvMemory {
    void operator()(uint8_t* p) const;
  };

  bool Open();
  void DecodePacket();
  // Makes the converter and the RGB picture fit the decoded picture; they are
  // built at the first picture and rebuilt when its size or format changes.
  bool PrepareConverter();

  std::atomic<int> stop_{0};
  std::unique_ptr<SwsContext, FreeScaler> converter_;
  std::unique_ptr<AVFrame, FreeFrame> rgb_;
  std::unique_ptr<uint8_t, FreeAvMemory> rgbBuffer_;  // pixels of rgb_
  int convertedWidth_ = 0, convertedHeight_ = 0, convertedFormat_ = -1;
  std::unique_ptr<AVFrame, FreeFrame> decoded_;
  std::unique_ptr<AVPacket, FreePacket> packet_;
  const AVCodec* codec_ = nullptr;
  std::unique_ptr<uint8_t[]> input_;  // kChunkSize + kChunkPadding bytes
  IFrameBuffer* sink_ = nullptr;
  std::unique_ptr<AVCodecContext, FreeContext> context_;
  std::unique_ptr<AVCodecParserContext, FreeParser> parser_;
};
