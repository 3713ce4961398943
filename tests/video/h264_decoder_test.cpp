#include "video/h264_decoder.h"

#include <gtest/gtest.h>

#include <random>

#include "link/core/link_message.h"
#include "tests/video/h264_streams.h"

extern "C" {
#include <libavutil/pixfmt.h>
}

namespace {

using test_pattern::ClassifyCornerColour;

// The simulator's streams: 40 frames of 320x240 and 10 of 240x320, each
// starting with its parameter sets and one key frame.
const char kLandscape[] = "pattern_320x240.h264";
const char kPortrait[] = "pattern_240x320.h264";
constexpr int kLandscapeFrames = 40;

// A decoder delivering to a recording sink.
struct RecordedDecoder {
  RecordedDecoder() { decoder.SetFrameSink(&sink); }
  int Feed(const std::vector<uint8_t>& bytes) {
    return decoder.Feed(bytes.data(), static_cast<int>(bytes.size()));
  }
  RecordingSink sink;
  H264Decoder decoder;
};

std::vector<DeliveredPicture> DecodeWhole(const std::vector<uint8_t>& stream) {
  RecordedDecoder d;
  EXPECT_EQ(d.Feed(stream), 1);
  return d.sink.pictures;
}

// The four corner patches, sampled well inside each.
void ExpectCorners(const DeliveredPicture& p) {
  const int dx = p.width / 8, dy = p.height / 8;
  EXPECT_EQ(ClassifyCornerColour(p.At(dy, dx)), test_pattern::kTopLeft);
  EXPECT_EQ(ClassifyCornerColour(p.At(dy, p.width - 1 - dx)), test_pattern::kTopRight);
  EXPECT_EQ(ClassifyCornerColour(p.At(p.height - 1 - dy, dx)), test_pattern::kBottomLeft);
  EXPECT_EQ(ClassifyCornerColour(p.At(p.height - 1 - dy, p.width - 1 - dx)), test_pattern::kBottomRight);
}

TEST(H264Decoder, WholeStreamGivesPackedRgbPicturesInOrder) {
  const auto stream = ReadTestStream(kLandscape);
  ASSERT_GT(stream.size(), static_cast<size_t>(H264Decoder::kChunkSize) * 4) << "spans many input chunks";
  RecordedDecoder d;
  ASSERT_EQ(d.Feed(stream), 1);

  // The parser holds the last frame back until the next one starts.
  ASSERT_GE(d.sink.pictures.size(), static_cast<size_t>(kLandscapeFrames - 1));
  ASSERT_LE(d.sink.pictures.size(), static_cast<size_t>(kLandscapeFrames));
  for (size_t i = 0; i < d.sink.pictures.size(); ++i) {
    const DeliveredPicture& p = d.sink.pictures[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(p.width, 320);
    EXPECT_EQ(p.height, 240);
    EXPECT_EQ(p.format, AV_PIX_FMT_RGB24);
    EXPECT_EQ(d.sink.linesizes[i], 320 * 3) << "rows are packed";
    EXPECT_EQ(p.FrameNumber(), static_cast<long>(i));
    ExpectCorners(p);  // red top left: the channel order is R, G, B
  }
}

TEST(H264Decoder, RandomSplitsDecodeTheSamePicturesAsTheWholeStream) {
  const auto stream = ReadTestStream(kLandscape);
  const auto whole = DecodeWhole(stream);
  ASSERT_FALSE(whole.empty());

  for (unsigned seed : {1u, 2u, 3u, 4u}) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    // Pieces from 1 byte to a little over two chunks, so splits fall inside
    // NAL units, inside start codes and across the 4096-byte chunk edges.
    std::uniform_int_distribution<int> size(1, seed % 2 ? 9000 : 40);
    RecordedDecoder d;
    for (size_t offset = 0; offset < stream.size();) {
      const int n = std::min<int>(size(rng), static_cast<int>(stream.size() - offset));
      ASSERT_EQ(d.decoder.Feed(stream.data() + offset, n), 1);
      offset += n;
    }
    ASSERT_EQ(d.sink.pictures.size(), whole.size());
    for (size_t i = 0; i < whole.size(); ++i) EXPECT_TRUE(d.sink.pictures[i] == whole[i]) << "picture " << i;
  }
}

TEST(H264Decoder, SeveralStreamsInOneMessageDecodeLikeSeparateMessages) {
  const auto a = ReadTestStream(kLandscape);
  const auto b = ReadTestStream(kPortrait);
  std::vector<uint8_t> both(a);
  both.insert(both.end(), b.begin(), b.end());
  const auto joined = DecodeWhole(both);

  RecordedDecoder d;
  ASSERT_EQ(d.Feed(a), 1);
  ASSERT_EQ(d.Feed(b), 1);
  ASSERT_EQ(d.sink.pictures.size(), joined.size());
  for (size_t i = 0; i < joined.size(); ++i) EXPECT_TRUE(d.sink.pictures[i] == joined[i]) << i;
}

TEST(H264Decoder, EmptyMessageReturnsOneAndDecodesNothing) {
  RecordedDecoder d;
  EXPECT_EQ(d.decoder.Feed(nullptr, 0), 1);
  LinkMessage empty;  // a Video message without payload
  EXPECT_EQ(d.decoder.Feed(empty), 1);
  EXPECT_TRUE(d.sink.pictures.empty());
}

TEST(H264Decoder, LinkMessagePayloadIsFed) {
  const auto stream = ReadTestStream(kLandscape);
  LinkMessage message;
  message.length = static_cast<int32_t>(stream.size());
  message.data.reset(new uint8_t[stream.size()]);
  std::copy(stream.begin(), stream.end(), message.data.get());
  RecordedDecoder d;
  EXPECT_EQ(d.decoder.Feed(message), 1);
  EXPECT_EQ(d.sink.pictures.size(), DecodeWhole(stream).size());
}

TEST(H264Decoder, NothingIsDeliveredBeforeTheFirstKeyFrame) {
  const auto a = ReadTestStream(kLandscape);
  const auto units = FindNalUnits(a);
  // The parameter sets and everything after the key frame, without the key
  // frame's slices: predicted frames with nothing to predict from.
  std::vector<uint8_t> headless;
  size_t i = 0;
  for (; i < units.size() && units[i].type != 5; ++i) {
    const size_t end = i + 1 < units.size() ? units[i + 1].offset : a.size();
    headless.insert(headless.end(), a.begin() + units[i].offset, a.begin() + end);
  }
  ASSERT_LT(i, units.size()) << "the stream has a key frame";
  while (i < units.size() && units[i].type == 5) ++i;
  ASSERT_LT(i, units.size());
  headless.insert(headless.end(), a.begin() + units[i].offset, a.end());

  RecordedDecoder d;
  d.Feed(headless);
  EXPECT_TRUE(d.sink.pictures.empty()) << d.sink.pictures.size() << " pictures before any key frame";

  // The next stream starts with a key frame: pictures follow from there.
  const auto b = ReadTestStream(kPortrait);
  EXPECT_EQ(d.Feed(b), 1);
  ASSERT_FALSE(d.sink.pictures.empty());
  EXPECT_EQ(d.sink.pictures.front().FrameNumber(), 0);
}

TEST(H264Decoder, NothingReachesTheSinkAfterRequestStop) {
  const auto stream = ReadTestStream(kLandscape);
  RecordedDecoder d;
  const int half = static_cast<int>(stream.size() / 2);
  ASSERT_EQ(d.decoder.Feed(stream.data(), half), 1);
  const size_t before = d.sink.pictures.size();
  ASSERT_GT(before, 0u);
  d.decoder.RequestStop();
  EXPECT_EQ(d.decoder.Feed(stream.data() + half, static_cast<int>(stream.size()) - half), 0);
  EXPECT_EQ(d.sink.pictures.size(), before);
  EXPECT_EQ(d.decoder.Feed(nullptr, 0), 1) << "an empty piece has nothing to stop";
}

TEST(H264Decoder, StopRequestedDuringAFeedEndsItAfterTheCurrentPicture) {
  const auto stream = ReadTestStream(kLandscape);
  RecordedDecoder d;
  // The window thread's Stop arrives while the stream thread is inside Feed.
  d.sink.onFrame = [&] {
    if (d.sink.pictures.size() == 3) d.decoder.RequestStop();
  };
  EXPECT_EQ(d.Feed(stream), 0);
  EXPECT_EQ(d.sink.pictures.size(), 3u);
}

TEST(H264Decoder, PictureSizeChangeMidStreamRebuildsTheConversion) {
  const auto a = ReadTestStream(kLandscape);
  const auto b = ReadTestStream(kPortrait);
  RecordedDecoder d;
  ASSERT_EQ(d.Feed(a), 1);
  ASSERT_EQ(d.Feed(b), 1);

  size_t landscape = 0, portrait = 0;
  for (const DeliveredPicture& p : d.sink.pictures) {
    if (p.width == 320 && p.height == 240) {
      EXPECT_EQ(portrait, 0u) << "no landscape picture after the change";
      ++landscape;
    } else {
      ASSERT_EQ(p.width, 240);
      ASSERT_EQ(p.height, 320);
      EXPECT_EQ(p.FrameNumber(), static_cast<long>(portrait)) << "portrait picture " << portrait;
      ExpectCorners(p);
      ++portrait;
    }
  }
  EXPECT_EQ(landscape, static_cast<size_t>(kLandscapeFrames)) << "the new stream pushed out the last frame";
  EXPECT_GE(portrait, 9u);
  for (int ls : std::vector<int>(d.sink.linesizes.end() - portrait, d.sink.linesizes.end()))
    EXPECT_EQ(ls, 240 * 3);
}

TEST(H264Decoder, GarbageIsSurvivedAndTheNextKeyFrameDecodes) {
  std::mt19937 rng(7);
  std::vector<uint8_t> noise(20000);
  for (auto& b : noise) b = static_cast<uint8_t>(rng());
  // Start codes scattered through the noise make the parser cut "frames".
  for (size_t i = 100; i + 4 < noise.size(); i += 997) noise[i] = 0, noise[i + 1] = 0, noise[i + 2] = 1;
  RecordedDecoder d;
  d.Feed(noise);
  const auto b = ReadTestStream(kPortrait);
  d.Feed(b);
  ASSERT_FALSE(d.sink.pictures.empty());
  const DeliveredPicture& last = d.sink.pictures.back();
  EXPECT_EQ(last.width, 240);
  EXPECT_GE(last.FrameNumber(), 5);
  ExpectCorners(last);
}

TEST(H264Decoder, DecodesWithoutASink) {
  const auto stream = ReadTestStream(kLandscape);
  H264Decoder decoder;
  EXPECT_EQ(decoder.Feed(stream.data(), static_cast<int>(stream.size())), 1);
}

}  // namespace
