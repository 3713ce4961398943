// RAII owners for GDI+ flat-API objects and COM streams, in the one owner
// idiom of the program (UniqueOwner).
#pragma once
#include "framework/gdiplus_api.h"
#include "framework/unique_owner.h"

inline void ReleaseCom(IUnknown* object) {
  object->Release();
}

template <class T>
using GpImageOwner = UniqueOwner<T*, ReleasedBy<Gdiplus::GpImage, &Gdiplus::DllExports::GdipDisposeImage>>;
using GpBitmapPtr = GpImageOwner<Gdiplus::GpBitmap>;
using GpImagePtr = GpImageOwner<Gdiplus::GpImage>;
using GpGraphicsPtr = UniqueOwner<Gdiplus::GpGraphics*,
                                  ReleasedBy<Gdiplus::GpGraphics, &Gdiplus::DllExports::GdipDeleteGraphics>>;
using GpPenPtr =
    UniqueOwner<Gdiplus::GpPen*, ReleasedBy<Gdiplus::GpPen, &Gdiplus::DllExports::GdipDeletePen>>;
using GpBrushPtr =
    UniqueOwner<Gdiplus::GpBrush*, ReleasedBy<Gdiplus::GpBrush, &Gdiplus::DllExports::GdipDeleteBrush>>;
using GpPathPtr =
    UniqueOwner<Gdiplus::GpPath*, ReleasedBy<Gdiplus::GpPath, &Gdiplus::DllExports::GdipDeletePath>>;
using StreamPtr = UniqueOwner<IStream*, ReleasedBy<IUnknown, &ReleaseCom>>;

// A graphics object on a device context, with anti-aliased smoothing (a no-op
// under some GDI+ implementations, harmless everywhere).
GpGraphicsPtr CreateSmoothGraphics(HDC dc);
// An opaque or translucent solid brush of ARGB colour.
GpBrushPtr CreateArgbBrush(Gdiplus::ARGB color);
