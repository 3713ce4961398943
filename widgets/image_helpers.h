// Loading pictures as GDI+ or GDI bitmaps, fitting them into a box and
// making DIB sections. GDI+ must have been started (GdiplusStartup) first.
#pragma once
#include <cstddef>

#include "framework/gdi.h"
#include "widgets/gdiplus_owners.h"

// The picture of PNG resource `id` in the program's own module, or null.
GpBitmapPtr LoadPngResource(int id);
// A picture decoded from bytes in any format GDI+ reads (PNG, JPEG, ...), or null.
GpBitmapPtr LoadBitmapFromMemory(const void* bytes, size_t size);
// A picture file as a GDI bitmap on opaque black (transparent pixels become black), or null.
BitmapHandle LoadHBitmapFromFile(const wchar_t* path);
// A new 32-bit ARGB copy of `bitmap` that fits a box of `box` pixels (see
// ScaleToFitSize); null for a null input.
GpBitmapPtr ScaleToFit(Gdiplus::GpBitmap* bitmap, int box, bool force = false);
// A bottom-up DIB section of the given size and bit count; `bits` receives the pixels.
BitmapHandle CreateDib(int width, int height, int bitsPerPixel, void** bits);

// A GDI+ bitmap as a 32-bit premultiplied GDI bitmap, transparent pixels on
// `background`; null for a null input.
BitmapHandle ToHBitmap(Gdiplus::GpBitmap* bitmap, Gdiplus::ARGB background);
// LoadPngResource then ToHBitmap; null when the id is 0 or has no picture.
BitmapHandle LoadPngAsHBitmap(int id, Gdiplus::ARGB background);
// Width and height of a GDI bitmap (0 x 0 for null).
SIZE BitmapSize(HBITMAP bitmap);
