// Throughput of the video path on recorded H.264 streams (the phone
// simulator's --dump output), printed as figures:
//   (a) FFmpeg parse + decode only,
//   (b) the H264Decoder: parse + decode + RGB24 conversion,
//   (c) the whole path: H264Decoder into VideoFrameBuffer (orientation,
//       fill-and-crop scaling, queue), in landscape and in portrait output,
// the per-frame cost of OnFrame, a breakdown of that cost into its steps, and
// the peak working set.
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
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "framework/gdi.h"
#include "video/core/frame_geometry.h"
#include "video/core/h264_decoder.h"
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

struct Figures {
  int frames = 0;
  double seconds = 0;
  double fps() const { return seconds > 0 ? frames / seconds : 0; }
};

// Best and mean of repeated runs (the machine is shared: the best run is the
// one least disturbed).
struct Summary {
  double best_fps = 0;
  double mean_fps = 0;
  int frames = 0;
};

template <typename Run>
Summary Repeat(int repeat, Run run) {
  Summary s;
  double sum = 0;
  for (int i = 0; i < repeat; ++i) {
    Figures f = run();
    s.frames = f.frames;
    s.best_fps = std::max(s.best_fps, f.fps());
    sum += f.fps();
  }
  s.mean_fps = sum / repeat;
  return s;
}

// (a) The same parser and decoder calls as H264Decoder, without conversion.
Figures DecodeOnly(const std::vector<uint8_t>& stream) {
  Figures f;
  const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_H264);
  AVCodecParserContext* parser = av_parser_init(codec->id);
  AVCodecContext* context = avcodec_alloc_context3(codec);
  avcodec_open2(context, codec, nullptr);
  AVFrame* frame = av_frame_alloc();
  AVPacket* packet = av_packet_alloc();
  std::vector<uint8_t> input(H264Decoder::kChunkSize + H264Decoder::kChunkPadding, 0);
  double start = Now();
  for (size_t offset = 0; offset < stream.size(); offset += H264Decoder::kChunkSize) {
    int chunk = static_cast<int>(std::min<size_t>(H264Decoder::kChunkSize, stream.size() - offset));
    std::memcpy(input.data(), stream.data() + offset, chunk);
    const uint8_t* p = input.data();
    while (chunk > 0) {
      int used = av_parser_parse2(parser, context, &packet->data, &packet->size, p, chunk, AV_NOPTS_VALUE,
                                  AV_NOPTS_VALUE, 0);
      if (used < 0) break;
      p += used;
      chunk -= used;
      if (packet->size > 0 && avcodec_send_packet(context, packet) >= 0)
        while (avcodec_receive_frame(context, frame) >= 0) ++f.frames;
    }
  }
  f.seconds = Now() - start;
  av_packet_free(&packet);
  av_frame_free(&frame);
  avcodec_free_context(&context);
  av_parser_close(parser);
  return f;
}

// Counts pictures; keeps a copy of the last one for the step breakdown.
class CountingSink : public IFrameBuffer {
 public:
  void OnFrame(const AVFrame* picture) override {
    ++frames;
    if (keep_copy) {
      width = picture->width;
      height = picture->height;
      rgb.resize(static_cast<size_t>(width) * height * 3);
      for (int y = 0; y < height; ++y)
        std::memcpy(&rgb[static_cast<size_t>(y) * width * 3], picture->data[0] + y * picture->linesize[0],
                    static_cast<size_t>(width) * 3);
    }
  }
  int IsFull() override { return 0; }
  int frames = 0;
  bool keep_copy = false;
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
};

// Forwards to the frame buffer and times each OnFrame.
class TimingSink : public IFrameBuffer {
 public:
  explicit TimingSink(VideoFrameBuffer* target) : target_(target) {}
  void OnFrame(const AVFrame* picture) override {
    double start = Now();
    target_->OnFrame(picture);
    double spent = Now() - start;
    total += spent;
    longest = std::max(longest, spent);
    ++frames;
  }
  int IsFull() override { return target_->IsFull(); }
  int frames = 0;
  double total = 0;
  double longest = 0;

 private:
  VideoFrameBuffer* target_;
};

void FeedAll(H264Decoder& decoder, const std::vector<uint8_t>& stream) {
  for (size_t offset = 0; offset < stream.size(); offset += kMessageSize) {
    int piece = static_cast<int>(std::min<size_t>(kMessageSize, stream.size() - offset));
    decoder.Feed(stream.data() + offset, piece);
  }
}

// (b) parse + decode + RGB conversion through the real decoder.
Figures DecodeAndConvert(const std::vector<uint8_t>& stream, CountingSink* keep = nullptr) {
  CountingSink local;
  CountingSink* sink = keep ? keep : &local;
  H264Decoder decoder;
  decoder.SetFrameSink(sink);
  double start = Now();
  FeedAll(decoder, stream);
  Figures f;
  f.seconds = Now() - start;
  f.frames = sink->frames;
  return f;
}

struct WholePath {
  Figures figures;
  double onframe_mean_ms = 0;
  double onframe_max_ms = 0;
  uint64_t dropped = 0;
};

// (c) decoder into the frame buffer; the queue is emptied after every
// message, and each frame taken is held until the next one and then handed
// back with Recycle, as the preview does.
WholePath Whole(const std::vector<uint8_t>& stream, bool portrait) {
  VideoFrameBuffer buffer;
  buffer.SetPortrait(portrait);
  TimingSink timing(&buffer);
  H264Decoder decoder;
  decoder.SetFrameSink(&timing);
  std::unique_ptr<VideoFrame> shown;  // the preview's current frame
  double start = Now();
  for (size_t offset = 0; offset < stream.size(); offset += kMessageSize) {
    int piece = static_cast<int>(std::min<size_t>(kMessageSize, stream.size() - offset));
    decoder.Feed(stream.data() + offset, piece);
    while (std::unique_ptr<VideoFrame> frame = buffer.TakeFrame()) {
      buffer.Recycle(std::move(shown));
      shown = std::move(frame);
    }
  }
  WholePath w;
  w.figures.seconds = Now() - start;
  w.figures.frames = timing.frames;
  w.onframe_mean_ms = timing.frames ? 1000.0 * timing.total / timing.frames : 0;
  w.onframe_max_ms = 1000.0 * timing.longest;
  w.dropped = buffer.DroppedFrames();
  return w;
}

// The steps of one OnFrame, each timed on its own over `rounds` calls with
// the same GDI calls the frame buffer makes: the orientation copy into a
// DIB section, then (when the size differs) the scaling into the output DIB.
void Breakdown(const CountingSink& picture, bool portrait, int rounds) {
  const int tw = portrait ? kLandscapeHeight : kLandscapeWidth;
  const int th = portrait ? kLandscapeWidth : kLandscapeHeight;
  Orientation o = ChooseOrientation(picture.width, picture.height, portrait, 0, 0, 0, 0);
  int ow, oh;
  OrientedSize(picture.width, picture.height, o, &ow, &oh);
  double create = 0, copy = 0;
  std::unique_ptr<VideoFrame> oriented;
  for (int i = 0; i < rounds; ++i) {
    oriented.reset();
    double start = Now();
    oriented = VideoFrame::Create(ow, oh);
    double created = Now();
    OrientRgbToBottomUpBgr(picture.rgb.data(), picture.width, picture.height, picture.width * 3, o,
                           oriented->bits(), oriented->stride());
    double copied = Now();
    create += created - start;
    copy += copied - created;
  }
  // The same copy into one DIB section reused every round: without the
  // first-touch cost of fresh pixel memory.
  double reused = 0;
  for (int i = 0; i < rounds; ++i) {
    double begin = Now();
    OrientRgbToBottomUpBgr(picture.rgb.data(), picture.width, picture.height, picture.width * 3, o,
                           oriented->bits(), oriented->stride());
    reused += Now() - begin;
  }
  // The floor of any orientation copy: moving the same bytes with memcpy.
  std::vector<uint8_t> plain(picture.rgb.size());
  double start = Now();
  for (int i = 0; i < rounds; ++i) std::memcpy(plain.data(), picture.rgb.data(), plain.size());
  double floor = Now() - start;
  std::printf(
      "    %-9s DIB section %dx%d: %.2f ms, orientation copy%s into it: %.2f ms (into a reused DIB section: "
      "%.2f ms; "
      "memcpy of the same bytes: %.2f ms)",
      portrait ? "portrait" : "landscape", ow, oh, 1000.0 * create / rounds,
      o.rotated ? " (quarter turn)" : "", 1000.0 * copy / rounds, 1000.0 * reused / rounds,
      1000.0 * floor / rounds);
  if (ow == tw && oh == th) {
    std::printf(", no scaling needed\n");
    return;
  }
  FillPlacement p = ComputeFillPlacement(ow, oh, tw, th);
  auto scale = [&](int mode) {
    double spent = 0;
    for (int i = 0; i < rounds; ++i) {
      double start = Now();
      std::unique_ptr<VideoFrame> out = VideoFrame::Create(tw, th);
      ClientDC desktop(GetDesktopWindow());
      HDC src = CreateCompatibleDC(desktop.get());
      HDC dst = CreateCompatibleDC(desktop.get());
      {
        SelectScope a(src, oriented->bitmap());
        SelectScope b(dst, out->bitmap());
        SetStretchBltMode(dst, mode);
        SetBrushOrgEx(dst, 0, 0, nullptr);
        if (p.cropOnly)
          BitBlt(dst, p.left, p.top, p.width, p.height, src, 0, 0, SRCCOPY);
        else
          StretchBlt(dst, p.left, p.top, p.width, p.height, src, 0, 0, ow, oh, SRCCOPY);
      }
      GdiFlush();
      DeleteDC(src);
      DeleteDC(dst);
      spent += Now() - start;
    }
    return 1000.0 * spent / rounds;
  };
  if (p.cropOnly) {
    std::printf(", crop with BitBlt to %dx%d: %.2f ms\n", tw, th, scale(HALFTONE));
  } else {
    double halftone = scale(HALFTONE);
    double coloroncolor = scale(COLORONCOLOR);
    std::printf(", StretchBlt HALFTONE to %dx%d (drawn %dx%d): %.2f ms (COLORONCOLOR would be %.2f ms)\n", tw,
                th, p.width, p.height, halftone, coloroncolor);
  }
}

bool LoadFile(const char* path, std::vector<uint8_t>* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !bytes->empty();
}

int Run(const char* path, int repeat) {
  std::vector<uint8_t> stream;
  if (!LoadFile(path, &stream)) {
    std::printf("cannot read %s\n", path);
    return 1;
  }
  CountingSink last;
  last.keep_copy = true;
  DecodeAndConvert(stream, &last);  // warm-up, and one picture for the breakdown
  if (last.frames == 0) {
    std::printf("%s: no pictures decoded\n", path);
    return 1;
  }
  std::printf("\nstream %s: %dx%d, %d frames, %.2f MB\n", path, last.width, last.height, last.frames,
              stream.size() / 1e6);

  Summary a = Repeat(repeat, [&] { return DecodeOnly(stream); });
  Summary b = Repeat(repeat, [&] { return DecodeAndConvert(stream); });
  std::printf("  (a) parse + decode only          %8.1f fps  (best of %d; mean %.1f)\n", a.best_fps, repeat,
              a.mean_fps);
  std::printf("  (b) + RGB24 conversion           %8.1f fps  (mean %.1f)  (b)/(a) = %.2f\n", b.best_fps,
              b.mean_fps, b.best_fps / a.best_fps);
  const double target = last.width * last.height > 1280 * 720 ? 0.60 : 0.80;
  for (bool portrait : {false, true}) {
    Summary c;
    double sum = 0, mean_onframe = 1e9, max_onframe = 0;
    uint64_t dropped = 0;
    for (int i = 0; i < repeat; ++i) {
      WholePath w = Whole(stream, portrait);
      c.frames = w.figures.frames;
      c.best_fps = std::max(c.best_fps, w.figures.fps());
      sum += w.figures.fps();
      mean_onframe = std::min(mean_onframe, w.onframe_mean_ms);
      max_onframe = std::max(max_onframe, w.onframe_max_ms);
      dropped += w.dropped;
    }
    c.mean_fps = sum / repeat;
    double ratio = c.best_fps / a.best_fps;
    std::printf("  (c) whole path, %-9s output %8.1f fps  (mean %.1f)  (c)/(a) = %.2f  target >= %.2f: %s\n",
                portrait ? "portrait" : "landscape", c.best_fps, c.mean_fps, ratio, target,
                ratio >= target ? "met" : "NOT met");
    std::printf(
        "      OnFrame per frame: %.2f ms mean (best run), %.2f ms worst single call; frames %d, dropped "
        "%llu\n",
        mean_onframe, max_onframe, c.frames, static_cast<unsigned long long>(dropped));
  }
  std::printf("  where OnFrame's time goes (mean of 20 calls per step):\n");
  Breakdown(last, false, 20);
  Breakdown(last, true, 20);
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
  std::printf("video pipeline benchmark: messages of %d bytes, decoder chunks of %d bytes, best of %d runs\n",
              kMessageSize, H264Decoder::kChunkSize, repeat);
  int status = 0;
  for (const char* path : paths) status |= Run(path, repeat);
  std::printf("\npeak working set of the whole run (PeakWorkingSetSize): %.1f MiB\n", PeakWorkingSetMiB());
  return status;
}
