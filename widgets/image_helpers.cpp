#include "widgets/image_helpers.h"

#include <cstring>

#include "framework/message_loop.h"
#include "widgets/core/image_geometry.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

GpGraphicsPtr CreateSmoothGraphics(HDC dc) {
  GpGraphics* graphics = nullptr;
  if (GdipCreateFromHDC(dc, &graphics) != Ok) return {};
  GdipSetSmoothingMode(graphics, SmoothingModeAntiAlias);
  return GpGraphicsPtr(graphics);
}

GpBrushPtr CreateArgbBrush(ARGB color) {
  GpSolidFill* brush = nullptr;
  if (GdipCreateSolidFill(color, &brush) != Ok) return {};
  return GpBrushPtr(brush);
}

namespace {
struct GlobalMemoryTraits {
  static bool IsValid(HGLOBAL block) { return block != nullptr; }
  static void Release(HGLOBAL block) { GlobalFree(block); }
};
// A movable memory block until a stream takes it over.
using GlobalMemory = UniqueOwner<HGLOBAL, GlobalMemoryTraits>;
}  // namespace

GpBitmapPtr LoadBitmapFromMemory(const void* bytes, size_t size) {
  if (!bytes || size == 0) return {};
  GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE, size));
  void* copy = block ? GlobalLock(block.get()) : nullptr;
  if (!copy) return {};
  std::memcpy(copy, bytes, size);
  GlobalUnlock(block.get());
  IStream* raw = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block.get(), TRUE, &raw))) return {};
  block.release();  // the stream frees it on its last release
  StreamPtr stream(raw);
  GpBitmap* bitmap = nullptr;
  if (GdipCreateBitmapFromStream(stream.get(), &bitmap) != Ok) return {};
  return GpBitmapPtr(bitmap);
}

GpBitmapPtr LoadPngResource(int id) {
  HMODULE module = AppModule().GetResourceInstance();
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), "PNG");
  if (!info) return {};
  HGLOBAL loaded = LoadResource(module, info);
  if (!loaded) return {};
  GpBitmapPtr bitmap = LoadBitmapFromMemory(LockResource(loaded), SizeofResource(module, info));
  FreeResource(loaded);
  return bitmap;
}

BitmapHandle ToHBitmap(GpBitmap* bitmap, ARGB background) {
  if (!bitmap) return {};
  HBITMAP converted = nullptr;
  if (GdipCreateHBITMAPFromBitmap(bitmap, &converted, background) != Ok) return {};
  return BitmapHandle(converted);
}

BitmapHandle LoadPngAsHBitmap(int id, ARGB background) {
  if (id == 0) return {};
  GpBitmapPtr picture = LoadPngResource(id);
  return ToHBitmap(picture.get(), background);
}

BitmapHandle LoadHBitmapFromFile(const wchar_t* path) {
  if (!path) return {};
  GpBitmap* bitmap = nullptr;
  if (GdipCreateBitmapFromFile(path, &bitmap) != Ok) return {};
  GpBitmapPtr owner(bitmap);
  return ToHBitmap(bitmap, 0xFF000000);
}

GpBitmapPtr ScaleToFit(GpBitmap* bitmap, int box, bool force) {
  if (!bitmap) return {};
  UINT width = 0, height = 0;
  GdipGetImageWidth(bitmap, &width);
  GdipGetImageHeight(bitmap, &height);
  PixelSize size = ScaleToFitSize(static_cast<int>(width), static_cast<int>(height), box, force);
  if (size.width <= 0 || size.height <= 0) return {};
  GpBitmap* scaled = nullptr;
  if (GdipCreateBitmapFromScan0(size.width, size.height, 0, PixelFormat32bppARGB, nullptr, &scaled) != Ok)
    return {};
  GpBitmapPtr result(scaled);
  GpGraphics* raw = nullptr;
  if (GdipGetImageGraphicsContext(scaled, &raw) != Ok) return {};
  GpGraphicsPtr graphics(raw);
  GdipSetSmoothingMode(raw, SmoothingModeAntiAlias);
  GdipDrawImageRectI(raw, bitmap, 0, 0, size.width, size.height);
  return result;
}

BitmapHandle CreateDib(int width, int height, int bitsPerPixel, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // positive: rows bottom-up
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (bits) *bits = dib ? pixels : nullptr;
  return BitmapHandle(dib);
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}
