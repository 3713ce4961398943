// RAII owners for GDI+ flat-API objects and COM streams.
#pragma once
#include <memory>

#include "gdiplus_api.h"

struct GpImageDeleter {
  void operator()(Gdiplus::GpImage* image) const {
    if (image) Gdiplus::DllExports::GdipDisposeImage(image);
  }
};
struct GpGraphicsDeleter {
  void operator()(Gdiplus::GpGraphics* graphics) const {
    if (graphics) Gdiplus::DllExports::GdipDeleteGraphics(graphics);
  }
};
struct GpPenDeleter {
  void operator()(Gdiplus::GpPen* pen) const {
    if (pen) Gdiplus::DllExports::GdipDeletePen(pen);
  }
};
struct GpBrushDeleter {
  void operator()(Gdiplus::GpBrush* brush) const {
    if (brush) Gdiplus::DllExports::GdipDeleteBrush(brush);
  }
};
struct GpPathDeleter {
  void operator()(Gdiplus::GpPath* path) const {
    if (path) Gdiplus::DllExports::GdipDeletePath(path);
  }
};
struct ComReleaser {
  void operator()(IUnknown* object) const {
    if (object) object->Release();
  }
};

using GpBitmapPtr = std::unique_ptr<Gdiplus::GpBitmap, GpImageDeleter>;
using GpImagePtr = std::unique_ptr<Gdiplus::GpImage, GpImageDeleter>;
using GpGraphicsPtr = std::unique_ptr<Gdiplus::GpGraphics, GpGraphicsDeleter>;
using GpPenPtr = std::unique_ptr<Gdiplus::GpPen, GpPenDeleter>;
using GpBrushPtr = std::unique_ptr<Gdiplus::GpBrush, GpBrushDeleter>;
using GpPathPtr = std::unique_ptr<Gdiplus::GpPath, GpPathDeleter>;
using StreamPtr = std::unique_ptr<IStream, ComReleaser>;

// A graphics object on a device context, with anti-aliased smoothing (a no-op
// under some GDI+ implementations, harmless everywhere).
GpGraphicsPtr CreateSmoothGraphics(HDC dc);
// An opaque or translucent solid brush of ARGB colour.
GpBrushPtr CreateArgbBrush(Gdiplus::ARGB color);
