#include "h264_decoder.h"

#include <gtest/gtest.h>

#include <random>

#include "h264_streams.h"
#include "link_message.h"

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

std::vector<DeliveredPicture> DecodeWhole(const std::vector<uint8_t>& stream) {
  RecordingSink sink;
  H264Decoder decoder;
  decoder.SetFrameSink(&sink);
  EXPECT_EQ(decoder.Feed(stream.data(), static_cast<int>(stream.size())), 1);
  return sink.pictures;
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
  RecordingSink sink;
  H264Decoder decoder;
  decoder.SetFrameSink(&sink);
  ASSERT_EQ(decoder.Feed(stream.data(), static_cast<int>(stream.size())), 1);

  // The parser holds the last frame back until the next one starts.
  ASSERT_GE(sink.pictures.size(), static_cast<size_t>(kLandscapeFrames - 1));
  ASSERT_LE(sink.pictures.size(), static_cast<size_t>(kLandscapeFrames));
  for (size_t i = 0; i < sink.pictures.size(); ++i) {
    const DeliveredPicture& p = sink.pictures[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(p.width, 320);
    EXPECT_EQ(p.height, 240);
    EXPECT_EQ(p.format, AV_PIX_FMT_RGB24);
    EXPECT_EQ(sink.linesizes[i], 320 * 3) << "rows are packed";
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
    RecordingSink sink;
    H264Decoder decoder;
    decoder.SetFrameSink(&sink);
    for (size_t offset = 0; offset < stream.size();) {
      const int n = std::min<int>(size(rng), static_cast<int>(stream.size() - offset));
      ASSERT_EQ(decoder.Feed(stream.data() + offset, n), 1);
      offset += n;
    }
    ASSERT_EQ(sink.pictures.size(), whole.size());
    for (size_t i = 0; i < whole.size(); ++i) EXPECT_TRUE(sink.pictures[i] == whole[i]) << "picture " << i;
  }
}

TEST(H264Decoder, SeveralStreamsInOneMessageDecodeLikeSeparateMessages) {
  const auto a = ReadTestStream(kLandscape);
  const auto b = ReadTestStream(kPortrait);
  std::vector<uint8_t> both(a);
  both.insert(both.end(), b.begin(), b.end());
  const auto joined = DecodeWhole(both);

  RecordingSink sink;
  H264Decoder decoder;
  decoder.SetFrameSink(&sink);
  ASSERT_EQ(decoder.Feed(a.data(), static_cast<int>(a.size())), 1);
  ASSERT_EQ(decoder.Feed(b.data(), static_cast<int>(b.size())), 1);
  ASSERT_EQ(sink.pictures.size(), joined.size());
  for (size_t i = 0; i < joined.size(); ++i) EXPECT_TRUE(sink.pictures[i] == joined[i]) << i;
}

TEST(H264Decoder, EmptyMessageReturnsOneAndDecodesNothing) {
  RecordingSink sink;
  H264Decoder decoder;
  decoder.SetFrameSink(&sink);
  EXPECT_EQ(decoder.Feed(nullptr, 0), 1);
  LinkMessage empty;  // a Video message without payload
  EXPECT_EQ(decoder.Feed(empty), 1);
  EXPECT_TRUE(sink.pictures.empty());
}

TEST(H264Decoder, LinkMessagePayloadIsFed) {
  const auto stream = ReadTestStream(kLandscape);
  LinkMessage message;
  message.length = static_cast<int32_t>(stream.size());
  message.data.reset(new uint8_t[stream.size()]);
  std::copy(stream.begin(), stream.end(), message.data.get());
  RecordingSink sink;
  H264Decoder decoder;
  decoder.SetFrameSink(&sink);
  EXPECT_EQ(decoder.Feed(message), 1);
  EXPECT_EQ(sink.pictures.size(), DecodeWhole(stream).size());
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

  RecordingSink sink;
  H264Decoder decoder;
  decoder.SetFrameSink(&sink);
  decoder.Feed(headless.data(), static_cast<int>(headless.size()));
  EXPECT_TRUE(sink.pictures.empty()) << sink.pictures.size() << " pictures before any key frame";

  // The next stream starts with a key frame: pictures follow from there.
  const auto b = ReadTestStream(kPortrait);
  EXPECT_EQ(decoder.Feed(b.data(), static_cast<int>(b.size())), 1);
  ASSERT_FALSE(sink.pictures.empty());
  EXPECT_EQ(sink.pictures.front().FrameNumber(), 0);
}

TEST(H264Decoder, NothingReachesTheSinkAfterRequestStop) {
  const auto stream = ReadTestStream(kLandscape);
  RecordingSink sink;
  H264Decoder decoder;
  decoder.SetFrameSink(&sink);
  const int half = static_cast<int>(stream.size() / 2);
  ASSERT_EQ(decoder.Feed(stream.data(), half), 1);
  const size_t before = sink.pictures.size();
  ASSERT_GT(before, 0u);
  decoder.RequestStop();
  EXPECT_EQ(decoder.Feed(stream.data() + half, static_cast<int>(stream.size()) - half), 0);
  EXPECT_EQ(sink.pictures.size(), before);
  EXPECT_EQ(decoder.Feed(nullptr, 0), 1) << "an empty piece has nothing to stop";
}

TEST(H264Decoder, StopRequestedDuringAFeedEndsItAfterTheCurrentPicture) {
  const auto stream = ReadTestStream(kLandscape);
  RecordingSink sink;
  H264Decoder decoder;
  decoder.SetFrameSink(&sink);
  // The window thread's Stop arrives while the stream thread is inside Feed.
  sink.onFrame = [&] {
    if (sink.pictures.size() == 3) decoder.RequestStop();
  };
  EXPECT_EQ(decoder.Feed(stream.data(), static_cast<int>(stream.size())), 0);
  EXPECT_EQ(sink.pictures.size(), 3u);
}

TEST(H264Decoder, PictureSizeChangeMidStreamRebuildsTheConversion) {
  const auto a = ReadTestStream(kLandscape);
  const auto b = ReadTestStream(kPortrait);
  RecordingSink sink;
  H264Decoder decoder;
  decoder.SetFrameSink(&sink);
  ASSERT_EQ(decoder.Feed(a.data(), static_cast<int>(a.size())), 1);
  ASSERT_EQ(decoder.Feed(b.data(), static_cast<int>(b.size())), 1);

  size_t landscape = 0, portrait = 0;
  for (const DeliveredPicture& p : sink.pictures) {
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
  for (int ls : std::vector<int>(sink.linesizes.end() - portrait, sink.linesizes.end()))
    EXPECT_EQ(ls, 240 * 3);
}

TEST(H264Decoder, GarbageIsSurvivedAndTheNextKeyFrameDecodes) {
  std::mt19937 rng(7);
  std::vector<uint8_t> noise(20000);
  for (auto& b : noise) b = static_cast<uint8_t>(rng());
  // Start codes scattered through the noise make the parser cut "frames".
  for (size_t i = 100; i + 4 < noise.size(); i += 997) noise[i] = 0, noise[i + 1] = 0, noise[i + 2] = 1;
  RecordingSink sink;
  H264Decoder decoder;
  decoder.SetFrameSink(&sink);
  decoder.Feed(noise.data(), static_cast<int>(noise.size()));
  const auto b = ReadTestStream(kPortrait);
  decoder.Feed(b.data(), static_cast<int>(b.size()));
  ASSERT_FALSE(sink.pictures.empty());
  const DeliveredPicture& last = sink.pictures.back();
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
