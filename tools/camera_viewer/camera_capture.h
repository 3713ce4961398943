// A camera opened as a capture application opens it: found by its friendly
// name in the video input category, connected by the capture graph builder
// through a sample grabber (set to one format) into a null renderer, and run
// until it has delivered a number of frames.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/camera_viewer/picture_file.h"

struct CaptureResult {
  int width = 0;
  int height = 0;
  int frames = 0;
  double firstStamp = 0;  // stream times in seconds
  double lastStamp = 0;
  bool stampsIncrease = true;
  std::vector<uint8_t> lastFrame;
};

enum class CaptureStatus { kOk, kNoSuchCamera, kNoGraph, kTooFewFrames };

// Captures `frames` frames of `format` from the camera named `name`, waiting
// at most `timeoutMs` for them. Needs COM on the calling thread.
CaptureStatus CaptureFrames(const std::wstring& name, FrameFormat format, int frames, DWORD timeoutMs,
                            CaptureResult& result);
