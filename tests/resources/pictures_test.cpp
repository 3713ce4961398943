// The program's pictures as the windows load them: every PNG id the code asks
// for decodes at the size its window draws it at, with per-pixel alpha, and
// the hot and pressed looks stand out from the normal one. Also the help
// pictures copied beside the program (res\).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "resources/picture_ids.h"
#include "tests/support/temp_folder.h"
#include "widgets/image_helpers.h"

namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

// The looks of one picture as a window uses it; hot and pressed are 0 where
// the window has no such look.
struct Looks {
  const char* user;
  int normal, hot, pressed;
  int width, height;
};

constexpr Looks kLooks[] = {
    {"close button (main window, busy overlay): 34 x 34 button", IDB_CLOSE_NORMAL, IDB_CLOSE_HOT,
     IDB_CLOSE_PRESSED, 34, 34},
    {"scroll-bar thumb: nine-grid split at 3 and rows 4..14", IDB_SCROLL_THUMB_NORMAL, IDB_SCROLL_THUMB_HOT,
     IDB_SCROLL_THUMB_PRESSED, 10, 18},
    {"combo arrow, list open: in an 18-pixel arrow area", IDB_COMBO_OPEN_NORMAL, IDB_COMBO_OPEN_HOT, 0, 16,
     16},
    {"combo arrow, list closed", IDB_COMBO_CLOSED_NORMAL, IDB_COMBO_CLOSED_HOT, 0, 16, 16},
    {"slider thumb: centred on a 2-pixel band", IDB_SLIDER_THUMB, 0, 0, 18, 18},
    {"logo band at (1, 1) of the main window", IDB_LOGO_BAND, 0, 0, 208, 68},
};

// Straight ARGB pixels of a decoded picture, row by row.
std::vector<uint32_t> PixelsOf(GpBitmap* bitmap, int width, int height) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width * height));
  BitmapData data{};
  GpRect rect{0, 0, width, height};
  if (GdipBitmapLockBits(bitmap, &rect, ImageLockModeRead, PixelFormat32bppARGB, &data) != Ok) return {};
  for (int y = 0; y < height; ++y) {
    const auto* row =
        reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(data.Scan0) + y * data.Stride);
    for (int x = 0; x < width; ++x) pixels[static_cast<size_t>(y * width + x)] = row[x];
  }
  GdipBitmapUnlockBits(bitmap, &data);
  return pixels;
}

// Share of pixels that look different over a mid grey background, so that a
// change of colour and a change of coverage both count.
double ShareVisiblyDifferent(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  if (a.size() != b.size() || a.empty()) return 0.0;
  auto overGrey = [](uint32_t p, int shift) {
    int alpha = static_cast<int>(p >> 24), c = static_cast<int>((p >> shift) & 0xFF);
    return (c * alpha + 128 * (255 - alpha)) / 255;
  };
  size_t differing = 0;
  for (size_t i = 0; i < a.size(); ++i)
    for (int shift : {16, 8, 0})
      if (std::abs(overGrey(a[i], shift) - overGrey(b[i], shift)) > 24) {
        ++differing;
        break;
      }
  return static_cast<double>(differing) / static_cast<double>(a.size());
}

TEST(PngResources, EveryLoadedPictureHasItsSizeAlphaAndDistinctLooks) {
  for (const Looks& looks : kLooks) {
    SCOPED_TRACE(looks.user);
    std::vector<std::vector<uint32_t>> pixels;
    for (int id : {looks.normal, looks.hot, looks.pressed}) {
      if (id == 0) continue;
      GpBitmapPtr picture = LoadPngResource(id);
      ASSERT_TRUE(picture) << "no PNG " << id;
      UINT width = 0, height = 0;
      GdipGetImageWidth(picture.get(), &width);
      GdipGetImageHeight(picture.get(), &height);
      ASSERT_EQ(static_cast<UINT>(looks.width), width) << "PNG " << id;
      ASSERT_EQ(static_cast<UINT>(looks.height), height) << "PNG " << id;
      PixelFormat format = 0;
      GdipGetImagePixelFormat(picture.get(), &format);
      EXPECT_TRUE(IsAlphaPixelFormat(format)) << "PNG " << id;
      pixels.push_back(PixelsOf(picture.get(), looks.width, looks.height));
    }
    for (size_t other = 1; other < pixels.size(); ++other)
      EXPECT_GT(ShareVisiblyDifferent(pixels[0], pixels[other]), 0.03)
          << "look " << other << " is the normal one";
    if (pixels.size() == 3) {
      EXPECT_NE(pixels[1], pixels[2]) << "hot and pressed are the same picture";
    }
  }
}

// The help pictures the build places beside the program (the program may
// replace its copies with newer ones from the remote configuration),
// decoded with GDI+ as the program does.
std::wstring ResPath(const char* name) {
  const std::string path = WinePath(std::string(VELA_RES_DIR) + "/" + name);
  return std::wstring(path.begin(), path.end());
}

TEST(HelpPictures, ShipAtPreviewSize) {
  for (const char* name : {"default.png", "default_v.jpg", "default_h.jpg"}) {
    SCOPED_TRACE(name);
    GpBitmap* raw = nullptr;
    ASSERT_EQ(Ok, GdipCreateBitmapFromFile(ResPath(name).c_str(), &raw));
    GpBitmapPtr bitmap(raw);
    UINT width = 0, height = 0;
    GdipGetImageWidth(raw, &width);
    GdipGetImageHeight(raw, &height);
    EXPECT_EQ(727u, width);
    EXPECT_EQ(522u, height);
  }
}

}  // namespace
