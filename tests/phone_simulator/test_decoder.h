// Decodes an H.264 byte stream with libavcodec (parser + decoder) into packed
// RGB24 pictures, so tests can look at what a desktop would see.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/phone_simulator/test_pattern.h"

struct AVCodecContext;
struct AVCodecParserContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // rows of width*3 bytes, top row first

  test_pattern::Rgb At(int x, int y) const {
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
  }
  // Average colour of a 9x9 square around (x, y): steadier than one pixel.
  test_pattern::Rgb AverageAround(int x, int y) const;
  // Which corner colour is seen in the middle of each corner patch:
  // [top-left, top-right, bottom-left, bottom-right] as test_pattern::Corner.
  std::vector<int> CornerClasses() const;
  bool ReadStamp(test_pattern::Stamp* stamp) const;
};

class TestDecoder {
 public:
  TestDecoder();
  ~TestDecoder();
  TestDecoder(const TestDecoder&) = delete;
  TestDecoder& operator=(const TestDecoder&) = delete;

  bool ok() const { return context_ != nullptr; }
  // Feeds bytes of the elementary stream; completed pictures are appended.
  void Feed(const uint8_t* data, size_t size, std::vector<RgbPicture>* out);
  // Drains what the parser and decoder still hold.
  void Flush(std::vector<RgbPicture>* out);

 private:
  void Decode(AVPacket* packet, std::vector<RgbPicture>* out);

  AVCodecContext* context_ = nullptr;
  AVCodecParserContext* parser_ = nullptr;
  AVFrame* frame_ = nullptr;
  AVPacket* packet_ = nullptr;
  SwsContext* sws_ = nullptr;
};
