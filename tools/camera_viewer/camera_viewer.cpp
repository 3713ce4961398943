// camera_viewer --camera NAME [--format YUY2|I420|NV12|RGB24] [--frames N]
//               [--timeout-ms T] [--png FILE]
//
// Opens a camera by its friendly name through DirectShow as a streaming or
// meeting application does, takes N frames (default 30) in the chosen format
// (default YUY2) and saves the last as a PNG. Prints one line: the size, the
// frame count, the rate from the frames' stream times and whether those
// increased. Exit codes: 0 done, 1 bad arguments, 2 no such camera, 3 the
// camera does not open or gives no stream of that format, 4 too few frames
// in time, 5 the PNG could not be written. Arguments arrive as UTF-16
// (wmain), so camera names keep their text.
#include <objbase.h>

#include <cstdio>
#include <string>

#include "framework/text.h"
#include "tools/camera_viewer/camera_capture.h"

namespace {

struct Options {
  std::wstring camera;
  FrameFormat format = FrameFormat::kYuy2;
  std::string formatName = "YUY2";
  int frames = 30;
  DWORD timeoutMs = 20000;
  std::wstring png;
};

bool ParseOptions(int argc, wchar_t** argv, Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::wstring name = argv[i], value = argv[i + 1];
    if (name == L"--camera") {
      options.camera = value;
    } else if (name == L"--format") {
      options.formatName = std::string(value.begin(), value.end());
      if (!ParseFrameFormat(options.formatName, options.format)) return false;
    } else if (name == L"--frames") {
      options.frames = _wtoi(value.c_str());
    } else if (name == L"--timeout-ms") {
      options.timeoutMs = static_cast<DWORD>(_wtoi(value.c_str()));
    } else if (name == L"--png") {
      options.png = value;
    } else {
      return false;
    }
  }
  return argc % 2 == 1 && !options.camera.empty() && options.frames > 0 && options.frames <= 100000;
}

class ComSession {
 public:
  ComSession() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
  ~ComSession() {
    if (ok_) CoUninitialize();
  }
  ComSession(const ComSession&) = delete;
  ComSession& operator=(const ComSession&) = delete;

 private:
  bool ok_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: camera_viewer --camera NAME [--format YUY2|I420|NV12|RGB24] [--frames N] "
                 "[--timeout-ms T] [--png FILE]\n");
    return 1;
  }
  ComSession com;
  CaptureResult result;
  const CaptureStatus status =
      CaptureFrames(options.camera, options.format, options.frames, options.timeoutMs, result);
  if (status == CaptureStatus::kNoSuchCamera) {
    std::fprintf(stderr, "no camera named %s\n", WideToUtf8(options.camera).c_str());
    return 2;
  }
  if (status == CaptureStatus::kNoGraph) {
    std::fprintf(stderr, "the camera does not open or gives no %s stream\n", options.formatName.c_str());
    return 3;
  }
  const double span = result.lastStamp - result.firstStamp;
  std::printf("format=%s width=%d height=%d frames=%d fps=%.2f stamps=%s\n", options.formatName.c_str(),
              result.width, result.height, result.frames, span > 0 ? (result.frames - 1) / span : 0.0,
              result.stampsIncrease ? "increasing" : "NOT-increasing");
  if (status == CaptureStatus::kTooFewFrames) {
    std::fprintf(stderr, "only %d of %d frames within %lu ms\n", result.frames, options.frames,
                 static_cast<unsigned long>(options.timeoutMs));
    return 4;
  }
  if (options.png.empty()) return 0;
  const auto bgr = FrameToTopDownBgr(options.format, result.width, result.height, result.lastFrame);
  return !bgr.empty() && SaveBgrAsPng(bgr, result.width, result.height, options.png) ? 0 : 5;
}
