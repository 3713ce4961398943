// The camera filter in a real DirectShow graph, as an application builds it:
// the capture graph builder renders the filter's capture pin through a
// SampleGrabber (whose callback keeps every frame) into a NullRenderer. And
// a producer that writes pictures through the program's FrameSection.
#pragma once
#include <windows.h>

#include <dshow.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "camera/camera_profile.h"
#include "camera/core/picture_format.h"
#include "camera/filter_com.h"
#include "framework/critical_section.h"
#include "framework/handles.h"

// Another interface of `from` (empty when it has none).
template <class T>
ComRef<T> Query(IUnknown* from, REFIID iid) {
  T* object = nullptr;
  if (from) from->QueryInterface(iid, reinterpret_cast<void**>(&object));
  return ComRef<T>(object);
}

struct Colour {
  int r, g, b;
};

struct CapturedFrame {
  REFERENCE_TIME start = 0;
  DWORD arrivedMs = 0;  // GetTickCount at arrival
  std::vector<uint8_t> bytes;
};

class FrameCollector;

class CameraGraph {
 public:
  // Builds the graph for `profile` reading section `sectionName`, with
  // `format` chosen through IAMStreamConfig::SetFormat first.
  CameraGraph(const CameraProfile& profile, const std::string& sectionName, CameraFormat format);
  ~CameraGraph();
  HRESULT built() const { return built_; }
  IBaseFilter* camera() const { return camera_.get(); }
  IGraphBuilder* graph() const { return graph_.get(); }
  HRESULT Run();
  HRESULT Stop();
  // Waits (bounded) until `count` frames have arrived since the last Take.
  bool WaitFrames(size_t count, DWORD timeoutMs = 10000);
  std::vector<CapturedFrame> Take();
  // Takes frames as they arrive until one matches (bounded).
  bool WaitForFrame(const std::function<bool(const CapturedFrame&)>& match, DWORD timeoutMs = 10000);

 private:
  HRESULT Build(const CameraProfile& profile, const std::string& sectionName, CameraFormat format);
  ComRef<IGraphBuilder> graph_;
  ComRef<IBaseFilter> camera_;
  ComRef<IMediaControl> control_;
  FrameCollector* collector_ = nullptr;  // one reference held
  HRESULT built_ = E_FAIL;
};

// A picture of four solid quadrants (top-left, top-right, bottom-left,
// bottom-right) or one solid colour, published through FrameSection.
class Producer {
 public:
  explicit Producer(const std::string& sectionName);
  ~Producer();
  bool PublishQuadrants(int width, int height, const Colour (&quadrants)[4]);
  bool PublishSolid(int width, int height, Colour colour);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The colour at top-down (x, y) of a delivered frame, decoded from `format`.
Colour ColourAt(const CapturedFrame& frame, CameraFormat format, int width, int height, int x, int y);
bool Near(Colour a, Colour b, int tolerance = 20);
// True when every pixel of an RGB24 frame has the same colour.
bool OneColour(const CapturedFrame& frame);
std::string SectionNameFor(const char* purpose);
