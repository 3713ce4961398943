#include "config/ui_font.h"

#include <cstdlib>
#include <map>

#include "framework/critical_section.h"
#include "framework/gdi.h"

namespace {
// The cache lives for the whole run; its fonts are never deleted because
// callers keep the handles without telling anyone.
struct FontCache {
  CriticalSection lock;
  std::map<int, HFONT> fonts;
};

FontCache& Cache() {
  static FontCache* cache = new FontCache;  // never destroyed: fonts outlive static teardown
  return *cache;
}

// Height in logical units for `tenthsOfPoint` on the screen, negative so that
// it is a character height (not a cell height).
LONG ScreenFontHeight(int tenthsOfPoint) {
  ClientDC screen(nullptr);
  POINT pt{0, MulDiv(GetDeviceCaps(screen.get(), LOGPIXELSY), tenthsOfPoint, 720)};
  POINT origin{0, 0};
  DPtoLP(screen.get(), &pt, 1);
  DPtoLP(screen.get(), &origin, 1);
  return -std::abs(pt.y - origin.y);
}
}  // namespace

HFONT GetUiFont(int pixelSize) {
  FontCache& cache = Cache();
  ScopedLock hold(cache.lock);
  auto found = cache.fonts.find(pixelSize);
  if (found != cache.fonts.end()) return found->second;

  LOGFONTA description{};
  description.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(description.lfFaceName, "微软雅黑", LF_FACESIZE);
  // Tenths of a point that make `pixelSize` pixels at 96 dots per inch.
  description.lfHeight = ScreenFontHeight(pixelSize * 720 / 96);
  HFONT font = CreateFontIndirectA(&description);
  cache.fonts[pixelSize] = font;
  return font;
}
