// Turns the pieces of one H.264 elementary stream (the payloads of Video
// messages) into decoded pictures and hands each to an IFrameBuffer, which
// converts them to what it needs.
// Message boundaries need not match pictures, so the decoder starts out
// cutting the stream into pictures with FFmpeg's parser, which can only tell
// a picture has ended when the next one begins: every picture waits for the
// next message. Many phones send exactly one picture per message; once a few
// messages in a row show that, each message goes to the codec whole and its
// picture comes out during its own Feed. A picture that comes out damaged is
// held back until the next message shows whether it was damaged at the
// source (delivered) or cut by the sender: then the parser takes over again,
// and the codec is given the stream again from the last key frame.
// One decoder per connection run; every call but RequestStop comes from the
// stream thread.
#pragma once
#include <atomic>
#include <cstdint>
#include <vector>

#include "video/core/ffmpeg_owners.h"
#include "video/core/frame_buffer.h"
#include "video/core/key_frame_recording.h"

struct LinkMessage;

class H264Decoder {
 public:
  // Input is parsed in chunks of this size, copied into a fixed buffer whose
  // bytes after the chunk are zeroed: the parser may read that far past the
  // data (AV_INPUT_BUFFER_PADDING_SIZE).
  static constexpr int kChunkSize = 4096;
  static constexpr int kChunkPadding = 64;
  // Messages in a row that each hold exactly one whole picture before the
  // parser is left out.
  static constexpr int kWholePicturesToTrust = 3;

  H264Decoder();
  ~H264Decoder();
  H264Decoder(const H264Decoder&) = delete;
  H264Decoder& operator=(const H264Decoder&) = delete;

  // Not owned; receives every decoded picture. Null: pictures are decoded and dropped.
  void SetFrameSink(IFrameBuffer* sink) { sink_ = sink; }

  // What the stream thread knows of the message after this one when that
  // one has arrived already: it begins a new picture, or it goes on with
  // this one (a sender that cuts a picture into pieces sends them back to
  // back). A message followed by a piece of its own picture is never
  // decoded as a whole picture.
  enum class Next { kUnknown, kBeginsPicture, kContinues };
  // The answer for a message that has arrived.
  static Next NextOf(const uint8_t* data, int length);

  // Decodes one piece of the stream. Returns 1 when it was taken without a
  // parser error and no stop was requested, else 0. An empty piece returns 1
  // and decodes nothing.
  int Feed(const uint8_t* data, int length, Next next = Next::kUnknown);
  int Feed(const LinkMessage& message, Next next = Next::kUnknown);

  // Pictures that turned out cut after the codec took them whole, each
  // mended by giving the codec the stream again from the key frame. Each
  // one doubles the number of whole pictures in a row needed before the
  // parser is left out again (up to kMostPicturesToTrust): a sender that
  // keeps mixing the two ways stays with the parser.
  int DecodedAgain() const { return decodedAgain_; }
  static constexpr int kMostPicturesToTrust = 96;

  // Any thread: the Feed in progress stops at its next parser step and no
  // further picture reaches the sink. Never undone.
  void RequestStop() { stop_.store(1); }
  bool StopRequested() const { return stop_.load() != 0; }

 private:
  bool Open();
  int Parse(const uint8_t* data, int length);
  void LeaveParser();
  int DecodeMessage();
  int ReturnToParser(const uint8_t* data, int length, bool beginsAccessUnit);
  void DecodeAgainFromKeyFrame();
  void DecodePacket();
  void Deliver(const AVFrame* picture);
  void ReleaseHeld(bool deliver);

  std::atomic<int> stop_{0};
  FrameOwner decoded_;
  PacketOwner packet_;
  const AVCodec* codec_ = nullptr;
  std::vector<uint8_t> input_;  // kChunkSize + kChunkPadding bytes
  IFrameBuffer* sink_ = nullptr;
  CodecContextOwner context_;
  ParserOwner parser_;

  // Whole messages go to the codec, the parser is idle.
  bool wholeMessages_ = false;
  int wholePicturesInARow_ = 0;
  int picturesToTrust_ = kWholePicturesToTrust;
  int decodedAgain_ = 0;
  // Holds each message sent whole (the last one recorded), and what the
  // codec needs again should its picture turn out to be cut.
  KeyFrameRecording recording_;
  // No undamaged picture came out of the last message sent whole (yet).
  bool messageUnfinished_ = false;
  // Pictures of the recording before that message: already delivered.
  int picturesBeforeMessage_ = 0;
  // Decoded again after a reset of the codec, and not delivered again.
  int picturesToSkip_ = 0;
  // A damaged picture of the last message sent whole, not yet delivered.
  FrameOwner held_;
  bool holding_ = false;
};
