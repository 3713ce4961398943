#include "tools/widget_gallery/screenshot.h"

#include <set>
#include <vector>

#include "framework/gdi.h"
#include "widgets/gdiplus_owners.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {
bool PngEncoder(CLSID* clsid) {
  UINT count = 0, size = 0;
  if (GdipGetImageEncodersSize(&count, &size) != Ok || size == 0) return false;
  std::vector<unsigned char> buffer(size);
  auto* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
  if (GdipGetImageEncoders(count, size, codecs) != Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (std::wstring(codecs[i].MimeType) == L"image/png") {
      *clsid = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}
}  // namespace

bool SaveScreenAreaAsPng(const RECT& area, const std::wstring& path) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return false;
  ClientDC screen(nullptr);
  MemoryDC copy(screen.get(), width, height);
  if (!BitBlt(copy.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY)) return false;
  GpBitmap* raw = nullptr;
  if (GdipCreateBitmapFromHBITMAP(copy.bitmap(), nullptr, &raw) != Ok) return false;
  GpBitmapPtr bitmap(raw);
  CLSID png{};
  return PngEncoder(&png) && GdipSaveImageToFile(raw, path.c_str(), &png, nullptr) == Ok;
}

bool CheckScreenshot(const std::wstring& path, int width, int height, int minColours, std::string* why) {
  GpBitmap* raw = nullptr;
  if (GdipCreateBitmapFromFile(path.c_str(), &raw) != Ok) {
    *why = "the screenshot cannot be read back";
    return false;
  }
  GpBitmapPtr bitmap(raw);
  UINT w = 0, h = 0;
  GdipGetImageWidth(raw, &w);
  GdipGetImageHeight(raw, &h);
  if (static_cast<int>(w) != width || static_cast<int>(h) != height) {
    *why = "the screenshot has the wrong size";
    return false;
  }
  std::set<ARGB> colours;
  for (UINT y = 0; y < h; y += 2)
    for (UINT x = 0; x < w; x += 2) {
      ARGB c = 0;
      GdipBitmapGetPixel(raw, x, y, &c);
      colours.insert(c);
    }
  if (static_cast<int>(colours.size()) < minColours) {
    *why = "the screenshot is blank (" + std::to_string(colours.size()) + " colours)";
    return false;
  }
  return true;
}
