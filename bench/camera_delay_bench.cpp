// The delay from the program writing a picture into the section to an
// application receiving it from the camera: a producer publishes solid
// colours through FrameSection at random moments; the landscape camera's
// filter runs in a real DirectShow graph (capture graph builder, grabber,
// null renderer), and the figure is the time until the first frame of the new
// colour arrives. The cameras tick every 1/30 s, so about half a tick on
// average plus the copy and conversion is what to expect.
//
//   camera_delay_bench [samples] [--clock]   (--clock: the renderer waits for each
//   frame's presentation time on the graph clock)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "camera/camera_profile.h"
#include "tests/support/camera_graph.h"

namespace {

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(p * (values.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
  const int samples = argc > 1 ? std::max(10, std::atoi(argv[1])) : 60;
  const bool withClock = argc > 2 && std::string(argv[2]) == "--clock";
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  const int w = kLandscapeCamera.width, h = kLandscapeCamera.height;
  const Colour colours[2] = {{255, 0, 0}, {0, 0, 255}};
  std::mt19937 rng(42);
  for (CameraFormat format : {CameraFormat::kYuy2, CameraFormat::kRgb24}) {
    const std::string section = SectionNameFor("delay_bench");
    Producer producer(section);
    CameraGraph graph(kLandscapeCamera, section, format);
    if (!withClock) {
      // As a streaming application does: frames are shown as they come, not
      // held by the renderer until their presentation time.
      if (auto filter = Query<IMediaFilter>(graph.graph(), IID_IMediaFilter)) filter->SetSyncSource(nullptr);
    }
    if (FAILED(graph.built()) || FAILED(graph.Run())) {
      std::printf("the camera graph could not be built or run\n");
      return 1;
    }
    std::vector<double> delays;
    int lost = 0;
    for (int i = 0; i < samples; ++i) {
      const Colour colour = colours[i % 2];
      Sleep(std::uniform_int_distribution<int>(40, 90)(rng));  // a random phase against the camera's tick
      const DWORD written = GetTickCount();
      producer.PublishSolid(w, h, colour);
      DWORD arrived = 0;
      if (graph.WaitForFrame(
              [&](const CapturedFrame& f) {
                if (!Near(colour, ColourAt(f, format, w, h, w / 2, h / 2))) return false;
                arrived = f.arrivedMs;
                return true;
              },
              2000)) {
        delays.push_back(static_cast<double>(arrived - written));
      } else {
        ++lost;
      }
    }
    graph.Stop();
    if (delays.empty()) {
      std::printf("%s: no picture arrived\n", format == CameraFormat::kYuy2 ? "YUY2" : "RGB24");
      continue;
    }
    std::printf(
        "write to application, %s 1280x720: median %.0f ms, p95 %.0f ms, max %.0f ms (%zu samples, %d "
        "lost)\n",
        format == CameraFormat::kYuy2 ? "YUY2" : "RGB24", Percentile(delays, 0.5), Percentile(delays, 0.95),
        *std::max_element(delays.begin(), delays.end()), delays.size(), lost);
  }
  CoUninitialize();
  return 0;
}
