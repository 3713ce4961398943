#include "video/core/h264_decoder.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "link/core/link_message.h"
#include "tests/support/fuzz_input.h"
#include "tests/video/core/encoded_streams.h"

extern "C" {
#include <libavutil/pixfmt.h>
}

namespace {

// The phone turned in the hand twice: each turn starts a new sequence with
// width and height swapped. 360 is not a multiple of the 16-pixel block the
// SIMD converter writes, so its rows overrun (into the slack after the last).
const std::vector<Segment> kTurningPhone = {{640, 360, 6}, {360, 640, 6}, {640, 360, 6}};
// A small landscape stream spanning many input chunks.
const std::vector<Segment> kLandscape = {{320, 240, 40}};

struct Encoded {
  std::vector<uint8_t> bytes;
  std::vector<size_t> unitEnds;  // of each access unit
};

const Encoded& Encode(const std::vector<Segment>& segments) {
  static std::map<const void*, Encoded> made;
  Encoded& e = made[&segments];
  if (e.bytes.empty()) e.bytes = EncodeSegments(segments, &e.unitEnds);
  return e;
}

struct RecordedDecoder {
  RecordedDecoder() { decoder.SetFrameSink(&sink); }
  int Feed(const std::vector<uint8_t>& bytes) {
    return decoder.Feed(bytes.data(), static_cast<int>(bytes.size()));
  }
  // One message per piece of `bytes` that ends at an entry of `ends`; gives
  // the number of pictures delivered after each. With `lookAhead` each
  // message comes with what the next one begins with, as the stream thread
  // tells it when the next message has arrived already.
  std::vector<size_t> FeedMessages(const std::vector<uint8_t>& bytes, const std::vector<size_t>& ends,
                                   bool lookAhead = false) {
    std::vector<size_t> delivered;
    size_t begin = 0;
    for (size_t i = 0; i < ends.size(); ++i) {
      const size_t end = ends[i];
      H264Decoder::Next next = H264Decoder::Next::kUnknown;
      if (lookAhead && i + 1 < ends.size())
        next = H264Decoder::NextOf(bytes.data() + end, static_cast<int>(ends[i + 1] - end));
      EXPECT_EQ(decoder.Feed(bytes.data() + begin, static_cast<int>(end - begin), next), 1)
          << "up to " << end;
      delivered.push_back(sink.pictures.size());
      begin = end;
    }
    return delivered;
  }
  RecordingSink sink;
  H264Decoder decoder;
};

std::vector<DeliveredPicture> DecodeWhole(const std::vector<uint8_t>& stream) {
  RecordedDecoder d;
  EXPECT_EQ(d.Feed(stream), 1);
  return d.sink.pictures;
}

TEST(H264Decoder, WholeStreamGivesDecodedPicturesInOrder) {
  const auto& stream = Encode(kLandscape).bytes;
  ASSERT_GT(stream.size(), static_cast<size_t>(H264Decoder::kChunkSize) * 4) << "spans many input chunks";
  const auto pictures = DecodeWhole(stream);
  // The parser holds the last frame back until the next one starts.
  ASSERT_EQ(pictures.size(), 39u);
  for (size_t i = 0; i < pictures.size(); ++i) {
    const DeliveredPicture& p = pictures[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(p.width, 320);
    EXPECT_EQ(p.height, 240);
    EXPECT_EQ(p.format, AV_PIX_FMT_YUV420P) << "handed over as decoded";
    EXPECT_EQ(p.linesize, 320 * 3) << "the recording's conversion packs the rows";
    EXPECT_EQ(p.FrameNumber(), static_cast<long>(i));
    EXPECT_EQ(p.Corners(), kUprightCorners) << "red top left: the channel order is R, G, B";
  }
}

TEST(H264Decoder, TurningPhoneDeliversEveryPictureAndRebuildsTheConversionOncePerSize) {
  RecordedDecoder d;
  ASSERT_EQ(d.Feed(Encode(kTurningPhone).bytes), 1);
  size_t next = 0;
  for (size_t s = 0; s < kTurningPhone.size(); ++s) {
    const Segment& seg = kTurningPhone[s];
    // Each new sequence pushes out the last picture of the one before; only
    // the stream's very last picture is still held back.
    const int expected = s + 1 < kTurningPhone.size() ? seg.frames : seg.frames - 1;
    for (int i = 0; i < expected; ++i, ++next) {
      SCOPED_TRACE("sequence " + std::to_string(s) + " picture " + std::to_string(i));
      ASSERT_LT(next, d.sink.pictures.size());
      const DeliveredPicture& p = d.sink.pictures[next];
      ASSERT_EQ(p.width, seg.width);
      ASSERT_EQ(p.height, seg.height);
      EXPECT_EQ(p.linesize, seg.width * 3);
      EXPECT_EQ(p.FrameNumber(), i);
      EXPECT_EQ(p.Corners(), kUprightCorners);
    }
  }
  EXPECT_EQ(next, d.sink.pictures.size());
  // Built for the first picture and again at each size change, never per picture.
  EXPECT_EQ(d.sink.converter.Builds(), static_cast<int>(kTurningPhone.size()));
  EXPECT_EQ(d.sink.converter.Overruns(), 0) << "the converter wrote past its buffer";
}

TEST(H264Decoder, AfterAFewWholePicturesEachMessageDecodesDuringItsOwnFeed) {
  const Encoded& e = Encode(kTurningPhone);
  RecordedDecoder d;
  const std::vector<size_t> delivered = d.FeedMessages(e.bytes, e.unitEnds);
  // Until then each picture waits for the next to begin; the last one too.
  for (size_t k = H264Decoder::kWholePicturesToTrust - 1; k < delivered.size(); ++k)
    EXPECT_EQ(delivered[k], k + 1) << "after message " << k;
}

// How a sender cuts its stream into messages, per access unit: 0 < n < 100
// cuts it into n equal messages, -n sends its first n bytes alone, kJoinNext
// sends it with the next unit, n >= kRandomCuts puts it in a run of units
// cut into random pieces of 1 to n bytes.
constexpr int kJoinNext = 0, kRandomCuts = 100;

struct SendingPattern {
  const char* name;
  const std::vector<Segment>* segments;
  int (*pieces)(size_t unit);
  std::vector<size_t> damagedUnits;  // the second half lost at the source
};

const SendingPattern kSendingPatterns[] = {
    {"every picture whole", &kTurningPhone, [](size_t) { return 1; }},
    // Cuts inside NAL units, inside start codes and across the parser's chunks.
    {"random cuts up to 9000 bytes", &kTurningPhone, [](size_t) { return 9000; }},
    {"random cuts up to 100 bytes", &kTurningPhone, [](size_t) { return kRandomCuts; }},
    {"whole, random cuts, whole", &kLandscape, [](size_t u) { return u >= 13 && u < 27 ? 3000 : 1; }},
    {"a key frame and a later picture cut in two", &kTurningPhone,
     [](size_t u) { return u == 6 || u == 10 ? 2 : 1; }},
    {"pictures cut inside their first slice header", &kLandscape,
     [](size_t u) { return u == 5 || u == 20 ? -12 : 1; }},
    {"pictures damaged at the source, one followed by two in a message",
     &kLandscape,
     [](size_t u) { return u == 9 ? kJoinNext : 1; },
     {8, 20}},
};

Encoded DamagedAtTheSource(Encoded e, const std::vector<size_t>& units) {
  for (size_t u : units) {
    const size_t end = e.unitEnds[u], lost = (end - (u ? e.unitEnds[u - 1] : 0)) / 2;
    e.bytes.erase(e.bytes.begin() + (end - lost), e.bytes.begin() + end);
    for (size_t k = u; k < e.unitEnds.size(); ++k) e.unitEnds[k] -= lost;
  }
  return e;
}

std::vector<size_t> MessageEnds(const Encoded& e, int (*pieces)(size_t)) {
  std::mt19937 rng(5);
  std::vector<size_t> ends;
  size_t begin = 0;
  for (size_t u = 0; u < e.unitEnds.size(); ++u) {
    const size_t end = e.unitEnds[u];
    const int n = pieces(u);
    const bool last = u + 1 == e.unitEnds.size();
    if (!last && (n == kJoinNext || (n >= kRandomCuts && pieces(u + 1) == n))) continue;
    if (n >= kRandomCuts)
      for (size_t at = begin + 1 + rng() % n; at < end; at += 1 + rng() % n) ends.push_back(at);
    else if (n < 0)
      ends.push_back(begin - n);
    else
      for (int p = 1; p < n; ++p) ends.push_back(begin + (end - begin) * p / n);
    ends.push_back(end);
    begin = end;
  }
  return ends;
}

// Each pattern without and with the look-ahead: the same pictures either
// way; with it, no cut picture ever reaches the codec as a whole one.
TEST(H264Decoder, SendersThatChangeHowTheyCutTheStreamLoseNoPicture) {
  for (const SendingPattern& pattern : kSendingPatterns) {
    for (bool lookAhead : {false, true}) {
      SCOPED_TRACE(std::string(pattern.name) + (lookAhead ? ", next message known" : ""));
      const Encoded e = DamagedAtTheSource(Encode(*pattern.segments), pattern.damagedUnits);
      const auto whole = DecodeWhole(e.bytes);
      RecordedDecoder d;
      d.FeedMessages(e.bytes, MessageEnds(e, pattern.pieces), lookAhead);
      // Only the very last picture may be out already or still with the parser.
      ASSERT_GE(d.sink.pictures.size(), whole.size());
      ASSERT_LE(d.sink.pictures.size(), whole.size() + 1);
      for (size_t i = 0; i < whole.size(); ++i)
        EXPECT_TRUE(d.sink.pictures[i] == whole[i]) << "picture " << i;
      if (lookAhead) {
        EXPECT_EQ(d.decoder.DecodedAgain(), 0);
      }
    }
  }
}

TEST(H264Decoder, EmptyPiecesDecodeNothing) {
  RecordedDecoder d;
  EXPECT_EQ(d.decoder.Feed(nullptr, 0), 1);
  LinkMessage message;  // a Video message without payload
  EXPECT_EQ(d.decoder.Feed(message), 1);
  EXPECT_TRUE(d.sink.pictures.empty());
}

TEST(H264Decoder, NothingReachesTheSinkAfterRequestStop) {
  const Encoded& e = Encode(kLandscape);
  // Halves go through the parser; whole pictures, by the third, straight to the codec.
  const std::vector<size_t> halves = {e.bytes.size() / 2, e.bytes.size()};
  for (const std::vector<size_t>* ends : {&halves, &e.unitEnds}) {
    RecordedDecoder d;
    // The window thread's Stop arrives while the stream thread is inside
    // Feed; by whole pictures, between the parser's last picture and the
    // first one sent straight, which come out in the same Feed.
    d.sink.onFrame = [&] {
      if (d.sink.pictures.size() == 2) d.decoder.RequestStop();
    };
    size_t begin = 0, stoppedAt = 0;
    for (size_t end : *ends) {
      const int result = d.decoder.Feed(e.bytes.data() + begin, static_cast<int>(end - begin));
      if (result == 0 && !stoppedAt) stoppedAt = end;
      begin = end;
    }
    EXPECT_EQ(stoppedAt, (*ends)[ends == &halves ? 0 : 2]) << "the Feed that delivered the second picture";
    EXPECT_EQ(d.sink.pictures.size(), 2u);
    EXPECT_EQ(d.decoder.Feed(nullptr, 0), 1) << "an empty piece has nothing to stop";
  }
}

// Bad input is survived and decoding resumes at the next key frame: nothing
// comes of predicted frames with nothing to predict from, and random bytes
// (with start codes that make the parser cut "frames") do not stop the next
// stream.
TEST(H264Decoder, DecodingStartsAtAKeyFrameAfterAHeadlessStreamOrGarbage) {
  const auto headless = WithoutKeyFrames(Encode(kLandscape).bytes);
  ASSERT_LT(headless.size(), Encode(kLandscape).bytes.size()) << "the stream has a key frame";
  RecordedDecoder d;
  d.Feed(headless);
  EXPECT_TRUE(d.sink.pictures.empty()) << d.sink.pictures.size() << " pictures before any key frame";
  EXPECT_EQ(d.Feed(Encode(kTurningPhone).bytes), 1);
  ASSERT_FALSE(d.sink.pictures.empty());
  EXPECT_EQ(d.sink.pictures.front().FrameNumber(), 0);

  std::mt19937 rng(7);
  std::vector<uint8_t> noise(20000);
  for (auto& b : noise) b = static_cast<uint8_t>(rng());
  for (size_t i = 100; i + 4 < noise.size(); i += 997) noise[i] = 0, noise[i + 1] = 0, noise[i + 2] = 1;
  d.Feed(noise);
  // Messages that look like whole pictures, and some that look cut.
  FuzzInput fuzz(3);
  for (int i = 0; i < 60; ++i) {
    const std::string tail = fuzz.Bytes(fuzz.Below(3000));
    std::vector<uint8_t> message = {0,   0, 0, 1, 0x09, 0xF0, 0, 0, 1, i % 7 ? uint8_t{0x41} : uint8_t{0x65},
                                    0x88};
    message.insert(i % 5 ? message.end() : message.begin(), tail.begin(), tail.end());
    d.Feed(message);
  }
  d.Feed(Encode(kLandscape).bytes);
  const DeliveredPicture& last = d.sink.pictures.back();
  EXPECT_EQ(last.width, 320);
  EXPECT_EQ(last.FrameNumber(), 38);
  EXPECT_EQ(last.Corners(), kUprightCorners);
}

}  // namespace
