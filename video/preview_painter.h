// What the preview shows, drawn onto any DC: the phone's picture fitted
// inside the client area with black bars, or, before the first picture, the
// idle picture whose lower part carries the link to the connection help.
#pragma once
#include <windows.h>

class VideoFrame;

// The clickable help link inside a client rectangle.
RECT HelpLinkRect(const RECT& client);

// Where a picture of frameWidth x frameHeight lands inside the client area:
// whole, aspect kept, centred, the rest left for black bars.
RECT FitInside(const RECT& client, int frameWidth, int frameHeight);

// What one paint draws.
struct PreviewContent {
  bool streaming = false;             // a stream worker is attached
  const VideoFrame* frame = nullptr;  // the picture to show, if any
  HBITMAP idleImage = nullptr;        // shown unscaled before the first picture
};

// Paints only the frame's picture where it fits inside the client area (the
// frame's preview copy with a plain copy when that has the fitted size, else
// the frame stretched) and returns that rectangle: what changes from one
// frame to the next of the same size.
RECT PaintPicture(HDC target, HDC scratch, const RECT& client, const VideoFrame& frame);

// Paints the whole client area into `target` (client at 0,0); `scratch` is
// a free memory DC for selecting source bitmaps.
void PaintPreview(HDC target, HDC scratch, const RECT& client, const PreviewContent& content);
