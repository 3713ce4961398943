// The cost of one camera tick at 1280x720 for each delivered format: the
// copy of a fresh picture out of the shared section (the snapshot rule) and
// its conversion, as the streaming thread does it; also with a portrait
// picture letterboxed into the landscape camera. The section is the
// program's FrameSection under a private name, read through a read-only view
// as a camera does; the picture is republished (untimed) before every tick
// so each tick really copies.
//
//   scripts/wine-run.sh <build>/bench/camera_tick_bench.exe [ticks, default 200]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "camera/core/picture_format.h"
#include "camera/core/picture_snapshot.h"
#include "framework/handles.h"
#include "video/core/frame_section_layout.h"
#include "video/frame_section.h"
#include "video/video_frame.h"

namespace {

double Milliseconds(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

std::unique_ptr<VideoFrame> Picture(int width, int height) {
  auto frame = VideoFrame::Create(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width * 3; ++x) frame->bits()[y * frame->stride() + x] = static_cast<uint8_t>(x ^ y);
  return frame;
}

struct Figures {
  std::vector<double> copy, convert, tick;
};

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, static_cast<size_t>(p * values.size()))];
}

const char* NameOf(CameraFormat format) {
  switch (format) {
    case CameraFormat::kYuy2:
      return "YUY2";
    case CameraFormat::kI420:
      return "I420";
    case CameraFormat::kNv12:
      return "NV12";
    case CameraFormat::kRgb24:
      return "RGB24";
  }
  return "?";
}

}  // namespace

int main(int argc, char** argv) {
  const int ticks = argc > 1 ? std::max(10, std::atoi(argv[1])) : 200;
  const std::string name = "VelaCameraTickBench-" + std::to_string(GetCurrentProcessId());
  FrameSection section(name);
  const auto landscape = Picture(1280, 720);
  const auto portrait = Picture(720, 1280);
  if (!section.Publish(*landscape)) return std::fprintf(stderr, "cannot publish\n"), 1;
  UniqueHandle mapping(OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str()));
  const void* view =
      mapping ? MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, frame_section::kSize) : nullptr;
  if (!view) return std::fprintf(stderr, "cannot map\n"), 1;
  const auto* base = static_cast<const uint8_t*>(view);

  std::printf("camera tick at 1280x720, %d ticks each; milliseconds median / p95\n", ticks);
  std::printf("%-6s %-10s %15s %15s %15s\n", "format", "picture", "copy", "convert", "tick");
  for (const VideoFrame* source : {landscape.get(), portrait.get()})
    for (CameraFormat format :
         {CameraFormat::kYuy2, CameraFormat::kI420, CameraFormat::kNv12, CameraFormat::kRgb24}) {
      PictureSnapshot snapshot;
      FrameConverter converter;
      std::vector<uint8_t> out(CameraFrameBytes(format, 1280, 720));
      Figures figures;
      for (int i = 0; i < ticks; ++i) {
        section.Publish(*source);
        LARGE_INTEGER t0, t1, t2;
        QueryPerformanceCounter(&t0);
        if (snapshot.Update(base) != PictureSnapshot::Result::kCopied)
          return std::fprintf(stderr, "no copy\n"), 1;
        QueryPerformanceCounter(&t1);
        converter.Convert(snapshot.picture(), format, 1280, 720, out.data(), out.size());
        QueryPerformanceCounter(&t2);
        figures.copy.push_back(Milliseconds(t0, t1));
        figures.convert.push_back(Milliseconds(t1, t2));
        figures.tick.push_back(Milliseconds(t0, t2));
      }
      std::printf("%-6s %-10s %7.2f / %5.2f %7.2f / %5.2f %7.2f / %5.2f\n", NameOf(format),
                  source == landscape.get() ? "1280x720" : "720x1280", Percentile(figures.copy, 0.5),
                  Percentile(figures.copy, 0.95), Percentile(figures.convert, 0.5),
                  Percentile(figures.convert, 0.95), Percentile(figures.tick, 0.5),
                  Percentile(figures.tick, 0.95));
    }
  UnmapViewOfFile(view);
  return 0;
}
