// RAII owners for GDI+ flat-API objects and COM streams.
#pragma once
#include <memory>

#include "framework/gdiplus_api.h"

// Deletes a GDI+ object with its flat-API delete function (null is skipped).
template <auto DeleteFn>
struct GpDeleter {
  template <class T>
  void operator()(T* object) const {
    if (object) DeleteFn(object);
  }
};
struct ComReleaser {
  void operator()(IUnknown* object) const {
    if (object) object->Release();
  }
};

using GpImageDeleter = GpDeleter<&Gdiplus::DllExports::GdipDisposeImage>;
using GpBitmapPtr = std::unique_ptr<Gdiplus::GpBitmap, GpImageDeleter>;
using GpImagePtr = std::unique_ptr<Gdiplus::GpImage, GpImageDeleter>;
using GpGraphicsPtr =
    std::unique_ptr<Gdiplus::GpGraphics, GpDeleter<&Gdiplus::DllExports::GdipDeleteGraphics>>;
using GpPenPtr = std::unique_ptr<Gdiplus::GpPen, GpDeleter<&Gdiplus::DllExports::GdipDeletePen>>;
using GpBrushPtr = std::unique_ptr<Gdiplus::GpBrush, GpDeleter<&Gdiplus::DllExports::GdipDeleteBrush>>;
using GpPathPtr = std::unique_ptr<Gdiplus::GpPath, GpDeleter<&Gdiplus::DllExports::GdipDeletePath>>;
using StreamPtr = std::unique_ptr<IStream, ComReleaser>;

// A graphics object on a device context, with anti-aliased smoothing (a no-op
// under some GDI+ implementations, harmless everywhere).
GpGraphicsPtr CreateSmoothGraphics(HDC dc);
// An opaque or translucent solid brush of ARGB colour.
GpBrushPtr CreateArgbBrush(Gdiplus::ARGB color);
