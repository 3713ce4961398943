// Throughput of the video path on recorded H.264 streams (the phone
// simulator's --dump output), printed as figures:
//   (a) the H264Decoder alone (parse + decode, pictures counted and dropped),
//   (c) the whole path: H264Decoder, the conversion thread, VideoFrameBuffer
//       (scaling, RGB, orientation, the newest-frame slot), landscape and
//       portrait output,
// each ratio (c)/(a) from runs interleaved in the same process; then the
// other ways of using the second core (none: conversion on the decoder's
// thread; the decoder's slice threads), the cost of OnFrame's steps and the
// peak working set.
//
//   video_pipeline_bench [--repeat N] STREAM.h264...
#include <windows.h>
// psapi.h needs the types of windows.h first.
#include <psapi.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
}

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

#include "video/conversion_thread.h"
#include "video/core/frame_geometry.h"
#include "video/core/h264_decoder.h"
#include "video/core/rgb_converter.h"
#include "video/video_frame.h"
#include "video/video_frame_buffer.h"

namespace {

// Video messages of the phone are pieces of this order of size.
constexpr int kMessageSize = 16384;

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double PeakWorkingSetMiB() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
  return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

// Frames per second of one run, and the per-call cost of the sink's work.
struct Run {
  int frames = 0;
  double seconds = 0;
  double sinkSeconds = 0, sinkLongest = 0;
  double fps() const { return seconds > 0 ? frames / seconds : 0; }
};

// Best and mean of repeated runs (the machine is shared: the best run is the
// one least disturbed).
struct Best {
  Run best;
  double sumFps = 0;
  int runs = 0;
  void Add(const Run& r) {
    if (r.fps() > best.fps()) best = r;
    sumFps += r.fps();
    ++runs;
  }
  double fps() const { return best.fps(); }
  double meanFps() const { return runs ? sumFps / runs : 0; }
};

void FeedAll(H264Decoder& decoder, const std::vector<uint8_t>& stream) {
  for (size_t offset = 0; offset < stream.size(); offset += kMessageSize)
    decoder.Feed(stream.data() + offset,
                 static_cast<int>(std::min<size_t>(kMessageSize, stream.size() - offset)));
}

// Counts pictures and drops them: the decoder's own cost.
class CountingSink : public IFrameBuffer {
 public:
  void OnFrame(const AVFrame*) override { ++frames; }
  int IsFull() override { return 0; }
  int frames = 0;
};

// The frame buffer behind a sink that times each OnFrame; the preview's
// takes are emulated: the newest frame is taken after every message and the
// one it replaces handed back.
class TimedFrameBuffer : public IFrameBuffer {
 public:
  explicit TimedFrameBuffer(bool portrait) { buffer_.SetPortrait(portrait); }
  void OnFrame(const AVFrame* picture) override {
    const double start = Now();
    buffer_.OnFrame(picture);
    const double spent = Now() - start;
    run.sinkSeconds += spent;
    run.sinkLongest = std::max(run.sinkLongest, spent);
    ++run.frames;
    converted.store(run.frames);
  }
  int IsFull() override { return 0; }
  void TakeAsThePreview() {
    if (std::unique_ptr<VideoFrame> frame = buffer_.TakeFrame())
      buffer_.Recycle(std::exchange(shown_, std::move(frame)));
  }
  Run run;
  std::atomic<int> converted{0};  // run.frames, for other threads

 private:
  VideoFrameBuffer buffer_;
  std::unique_ptr<VideoFrame> shown_;
};

Run DecodeOnly(const std::vector<uint8_t>& stream) {
  CountingSink sink;
  H264Decoder decoder;
  decoder.SetFrameSink(&sink);
  const double start = Now();
  FeedAll(decoder, stream);
  Run r;
  r.seconds = Now() - start;
  r.frames = sink.frames;
  return r;
}

// Counts what the decoder hands on, then forwards it.
class CountingForwarder : public IFrameBuffer {
 public:
  explicit CountingForwarder(IFrameBuffer* next) : next_(next) {}
  void OnFrame(const AVFrame* picture) override {
    ++frames;
    next_->OnFrame(picture);
  }
  int IsFull() override { return 0; }
  int frames = 0;

 private:
  IFrameBuffer* next_;
};

// Feeds the stream in messages; after each, the preview's take.
void FeedTakingAsThePreview(H264Decoder& decoder, const std::vector<uint8_t>& stream,
                            TimedFrameBuffer& sink) {
  for (size_t offset = 0; offset < stream.size(); offset += kMessageSize) {
    decoder.Feed(stream.data() + offset,
                 static_cast<int>(std::min<size_t>(kMessageSize, stream.size() - offset)));
    sink.TakeAsThePreview();
  }
}

// The whole path as the program runs it: the decoder on this thread, the
// frame buffer's work on the conversion thread (newest picture wins; the
// pictures it skips are counted), the preview's takes after every message.
// The run ends when the last picture has been converted.
Run WholePath(const std::vector<uint8_t>& stream, bool portrait, uint64_t* skipped) {
  TimedFrameBuffer sink(portrait);
  ConversionThread conversion(&sink);
  conversion.Start();
  CountingForwarder decoded(&conversion);
  H264Decoder decoder;
  decoder.SetFrameSink(&decoded);
  const double start = Now();
  FeedTakingAsThePreview(decoder, stream, sink);
  while (sink.converted.load() + static_cast<int>(conversion.Skipped()) < decoded.frames) Sleep(0);
  const double end = Now();
  conversion.Stop();
  *skipped = conversion.Skipped();
  // Counted as converted: a skipped picture did not make it through the path.
  Run r = sink.run;
  r.frames = decoded.frames - static_cast<int>(*skipped);
  r.seconds = end - start;
  return r;
}

// The whole path without the conversion thread: the frame buffer's work on
// the decoder's thread, one picture after the other.
Run WholePathInline(const std::vector<uint8_t>& stream, bool portrait) {
  TimedFrameBuffer sink(portrait);
  H264Decoder decoder;
  decoder.SetFrameSink(&sink);
  const double start = Now();
  FeedTakingAsThePreview(decoder, stream, sink);
  Run r = sink.run;
  r.seconds = Now() - start;
  return r;
}

// The decoder with FFmpeg's slice threads on both cores (the simulator's
// encoder cuts each picture into several slices; a phone often sends one,
// where slice threads cannot help).
Run SliceThreadedDecodeOnly(const std::vector<uint8_t>& stream) {
  const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_H264);
  AVCodecParserContext* parser = av_parser_init(codec->id);
  AVCodecContext* context = avcodec_alloc_context3(codec);
  context->thread_type = FF_THREAD_SLICE;
  context->thread_count = 2;
  avcodec_open2(context, codec, nullptr);
  AVFrame* frame = av_frame_alloc();
  AVPacket* packet = av_packet_alloc();
  std::vector<uint8_t> input(H264Decoder::kChunkSize + H264Decoder::kChunkPadding, 0);
  Run r;
  const double start = Now();
  for (size_t offset = 0; offset < stream.size(); offset += H264Decoder::kChunkSize) {
    int chunk = static_cast<int>(std::min<size_t>(H264Decoder::kChunkSize, stream.size() - offset));
    std::memcpy(input.data(), stream.data() + offset, chunk);
    const uint8_t* p = input.data();
    while (chunk > 0) {
      const int used = av_parser_parse2(parser, context, &packet->data, &packet->size, p, chunk,
                                        AV_NOPTS_VALUE, AV_NOPTS_VALUE, 0);
      if (used < 0) break;
      p += used;
      chunk -= used;
      if (packet->size > 0 && avcodec_send_packet(context, packet) >= 0)
        while (avcodec_receive_frame(context, frame) >= 0) ++r.frames;
    }
  }
  r.seconds = Now() - start;
  av_packet_free(&packet);
  av_frame_free(&frame);
  avcodec_free_context(&context);
  av_parser_close(parser);
  return r;
}

// Keeps a reference to the last decoded picture, for the step timings.
class LastPictureSink : public IFrameBuffer {
 public:
  ~LastPictureSink() override { av_frame_free(&last); }
  void OnFrame(const AVFrame* picture) override {
    av_frame_unref(last);
    av_frame_ref(last, picture);
  }
  int IsFull() override { return 0; }
  AVFrame* last = av_frame_alloc();
};

// The steps of one OnFrame timed on their own over `rounds` calls: the
// swscale pass (crop, scale, RGB) and the orientation copy into the frame.
void Breakdown(const AVFrame* picture, bool portrait, int rounds) {
  const int tw = portrait ? kLandscapeHeight : kLandscapeWidth;
  const int th = portrait ? kLandscapeWidth : kLandscapeHeight;
  const Orientation o = ChooseOrientation(picture->width, picture->height, portrait, 0, 0, 0, 0);
  const SourceCrop crop = ComputeSourceCrop(picture->width, picture->height, o, tw, th);
  RgbConverter converter(AV_PIX_FMT_BGR24);
  const AVFrame* rgb = converter.Convert(picture, crop);  // built outside the timing
  double start = Now();
  for (int i = 0; i < rounds; ++i) rgb = converter.Convert(picture, crop);
  const double convert = (Now() - start) / rounds;
  std::unique_ptr<VideoFrame> frame = VideoFrame::Create(tw, th);
  start = Now();
  for (int i = 0; i < rounds; ++i)
    OrientToBottomUp(rgb->data[0], rgb->width, rgb->height, rgb->linesize[0], o, frame->bits(),
                     frame->stride());
  const double orient = (Now() - start) / rounds;
  std::printf("    %-9s %dx%d of %dx%d -> %dx%d: swscale %.2f ms, orientation copy%s %.2f ms\n",
              portrait ? "portrait" : "landscape", crop.width, crop.height, picture->width, picture->height,
              tw, th, 1000 * convert, o.rotated ? " (quarter turn)" : "", 1000 * orient);
}

bool LoadFile(const char* path, std::vector<uint8_t>* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !bytes->empty();
}

int RunStream(const char* path, int repeat) {
  std::vector<uint8_t> stream;
  if (!LoadFile(path, &stream)) {
    std::printf("cannot read %s\n", path);
    return 1;
  }
  LastPictureSink last;
  {
    H264Decoder warmUp;
    warmUp.SetFrameSink(&last);
    FeedAll(warmUp, stream);
  }
  if (!last.last->data[0]) {
    std::printf("%s: no pictures decoded\n", path);
    return 1;
  }
  const AVFrame* picture = last.last;
  std::printf("\nstream %s: %dx%d, %d frames, %.2f MB\n", path, picture->width, picture->height,
              DecodeOnly(stream).frames, stream.size() / 1e6);

  // Interleaved, so that each ratio compares runs made side by side.
  Best a, landscape, portrait;
  uint64_t skipped[2] = {0, 0}, skippedNow = 0;
  for (int i = 0; i < repeat; ++i) {
    a.Add(DecodeOnly(stream));
    landscape.Add(WholePath(stream, false, &skippedNow));
    skipped[0] += skippedNow;
    portrait.Add(WholePath(stream, true, &skippedNow));
    skipped[1] += skippedNow;
  }
  const bool large = picture->width * picture->height > 1280 * 720;
  const double target = large ? 0.70 : 0.85;
  std::printf("  (a) parse + decode only          %8.1f fps  (best of %d; mean %.1f)\n", a.fps(), repeat,
              a.meanFps());
  for (const Best* c : {&landscape, &portrait}) {
    const double ratio = c->fps() / a.fps();
    const bool isPortrait = c == &portrait;
    std::printf("  (c) whole path, %-9s output %8.1f fps  (mean %.1f)  (c)/(a) = %.2f  target >= %.2f: %s\n",
                isPortrait ? "portrait" : "landscape", c->fps(), c->meanFps(), ratio, target,
                ratio >= target ? "met" : "NOT met");
    std::printf(
        "      OnFrame per frame: %.2f ms mean, %.2f ms worst single call (best run); skipped while "
        "converting: %llu of %d\n",
        1000 * c->best.sinkSeconds / std::max(1, c->best.frames), 1000 * c->best.sinkLongest,
        static_cast<unsigned long long>(skipped[isPortrait ? 1 : 0]), repeat * c->best.frames);
  }

  // The second core used otherwise: not at all, or by the decoder's slice threads.
  Best inlined, sliced;
  for (int i = 0; i < repeat; ++i) {
    inlined.Add(WholePathInline(stream, false));
    sliced.Add(SliceThreadedDecodeOnly(stream));
  }
  std::printf("  the second core (best of %d):\n", repeat);
  std::printf("    whole path without the conversion thread  %8.1f fps  (c)/(a) = %.2f (landscape)\n",
              inlined.fps(), inlined.fps() / a.fps());
  std::printf(
      "    decoder with 2 slice threads, decode only   %8.1f fps  (x%.2f of (a); the stream has "
      "several slices per picture, a phone's often one)\n",
      sliced.fps(), sliced.fps() / a.fps());

  std::printf("  where OnFrame's time goes (mean of 20 calls per step):\n");
  Breakdown(picture, false, 20);
  Breakdown(picture, true, 20);
  std::printf("  peak working set so far: %.1f MiB\n", PeakWorkingSetMiB());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int repeat = 3;
  std::vector<const char*> paths;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc)
      repeat = std::max(1, std::atoi(argv[++i]));
    else
      paths.push_back(argv[i]);
  }
  if (paths.empty()) {
    std::printf("usage: video_pipeline_bench [--repeat N] STREAM.h264...\n");
    return 2;
  }
  std::printf("video pipeline benchmark: messages of %d bytes, best of %d runs\n", kMessageSize, repeat);
  int status = 0;
  for (const char* path : paths) status |= RunStream(path, repeat);
  std::printf("\npeak working set of the whole run (PeakWorkingSetSize): %.1f MiB\n", PeakWorkingSetMiB());
  return status;
}
