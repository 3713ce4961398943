// The program's pictures as the resource compiler stored them in the module:
// every PNG id the windows ask for exists at the size its window is laid out
// for, is RGBA with per-pixel alpha, decodes with GDI+, and the hot and pressed
// looks of every button differ visibly from its normal look. Also the help
// pictures copied beside the program (res\).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "framework/gdiplus_api.h"
#include "resources/picture_ids.h"

namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

struct PictureSize {
  int id;
  int width;
  int height;
};

// Sizes the windows are laid out for.
constexpr PictureSize kPictures[] = {
    {IDB_SLIDER_THUMB, 18, 18},
    {IDB_ITEM_RING_MASK, 68, 68},
    {IDB_ITEM_SELECTED_FRAME, 68, 68},
    {IDB_ITEM_MARK_CHECK, 36, 36},
    {IDB_ITEM_MARK_ADJUST, 36, 36},
    {IDB_PAGE_BACK_NORMAL, 16, 16},
    {IDB_PAGE_BACK_HOT, 16, 16},
    {IDB_PAGE_BACK_PRESSED, 16, 16},
    {IDB_PAGE_RESET_NORMAL, 16, 16},
    {IDB_PAGE_RESET_HOT, 16, 16},
    {IDB_PAGE_RESET_PRESSED, 16, 16},
    {IDB_ITEM_MARK_EDIT, 36, 36},
    {IDB_SCROLL_THUMB_HOT, 10, 18},
    {IDB_SCROLL_THUMB_PRESSED, 10, 18},
    {IDB_SCROLL_THUMB_NORMAL, 10, 18},
    {IDB_LOGO_BAND, 208, 68},
    {IDB_CONNECT_HOT, 96, 36},
    {IDB_CONNECT_PRESSED, 96, 36},
    {IDB_CONNECT_NORMAL, 96, 36},
    {IDB_CLOSE_HOT, 34, 34},
    {IDB_CLOSE_PRESSED, 34, 34},
    {IDB_CLOSE_NORMAL, 34, 34},
    {IDB_MINIMIZE_NORMAL, 34, 34},
    {IDB_MINIMIZE_HOT, 34, 34},
    {IDB_MINIMIZE_PRESSED, 34, 34},
    {IDB_DISCONNECT_HOT, 95, 36},
    {IDB_DISCONNECT_PRESSED, 95, 36},
    {IDB_DISCONNECT_NORMAL, 95, 36},
    {IDB_COMBO_OPEN_NORMAL, 16, 16},
    {IDB_COMBO_OPEN_HOT, 16, 16},
    {IDB_COMBO_CLOSED_HOT, 16, 16},
    {IDB_COMBO_CLOSED_NORMAL, 16, 16},
    {IDB_REFRESH_HOT, 16, 16},
    {IDB_REFRESH_PRESSED, 16, 16},
    {IDB_REFRESH_NORMAL, 16, 16},
    {IDB_FLIP_VERTICAL_NORMAL, 22, 22},
    {IDB_FLIP_VERTICAL_HOT, 22, 22},
    {IDB_FLIP_VERTICAL_PRESSED, 22, 22},
    {IDB_MODE_LANDSCAPE_HOT, 22, 22},
    {IDB_MODE_LANDSCAPE_PRESSED, 22, 22},
    {IDB_MODE_LANDSCAPE_NORMAL, 22, 22},
    {IDB_MODE_PORTRAIT_NORMAL, 22, 22},
    {IDB_MODE_PORTRAIT_HOT, 22, 22},
    {IDB_MODE_PORTRAIT_PRESSED, 22, 22},
    {IDB_FLIP_HORIZONTAL_NORMAL, 22, 22},
    {IDB_FLIP_HORIZONTAL_HOT, 22, 22},
    {IDB_FLIP_HORIZONTAL_PRESSED, 22, 22},
    {IDB_ABOUT_TITLE, 166, 28},
    {IDB_ABOUT_SUBTITLE, 132, 14},
    {IDB_SETTINGS_HOT, 34, 34},
    {IDB_SETTINGS_PRESSED, 34, 34},
    {IDB_SETTINGS_NORMAL, 34, 34},
    {IDB_CONNECT_SPINNER, 18, 18},
    {IDB_DISCONNECT_ICON, 18, 18},
    {IDB_CONNECT_ICON, 18, 18},
    {IDB_ABOUT_ICON, 68, 68},
};

// The looks of one button: the hot and pressed pictures must stand out from
// the normal one (the disabled look reuses the normal picture).
struct ButtonLooks {
  const char* name;
  int normal;
  int hot;
  int pressed;  // 0: the widget has one picture for hot and pressed
};

constexpr ButtonLooks kButtons[] = {
    {"close", IDB_CLOSE_NORMAL, IDB_CLOSE_HOT, IDB_CLOSE_PRESSED},
    {"minimize", IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_HOT, IDB_MINIMIZE_PRESSED},
    {"settings", IDB_SETTINGS_NORMAL, IDB_SETTINGS_HOT, IDB_SETTINGS_PRESSED},
    {"connect", IDB_CONNECT_NORMAL, IDB_CONNECT_HOT, IDB_CONNECT_PRESSED},
    {"disconnect", IDB_DISCONNECT_NORMAL, IDB_DISCONNECT_HOT, IDB_DISCONNECT_PRESSED},
    {"refresh", IDB_REFRESH_NORMAL, IDB_REFRESH_HOT, IDB_REFRESH_PRESSED},
    {"flip vertical", IDB_FLIP_VERTICAL_NORMAL, IDB_FLIP_VERTICAL_HOT, IDB_FLIP_VERTICAL_PRESSED},
    {"flip horizontal", IDB_FLIP_HORIZONTAL_NORMAL, IDB_FLIP_HORIZONTAL_HOT, IDB_FLIP_HORIZONTAL_PRESSED},
    {"mode landscape", IDB_MODE_LANDSCAPE_NORMAL, IDB_MODE_LANDSCAPE_HOT, IDB_MODE_LANDSCAPE_PRESSED},
    {"mode portrait", IDB_MODE_PORTRAIT_NORMAL, IDB_MODE_PORTRAIT_HOT, IDB_MODE_PORTRAIT_PRESSED},
    {"page back", IDB_PAGE_BACK_NORMAL, IDB_PAGE_BACK_HOT, IDB_PAGE_BACK_PRESSED},
    {"page reset", IDB_PAGE_RESET_NORMAL, IDB_PAGE_RESET_HOT, IDB_PAGE_RESET_PRESSED},
    {"scroll thumb", IDB_SCROLL_THUMB_NORMAL, IDB_SCROLL_THUMB_HOT, IDB_SCROLL_THUMB_PRESSED},
    {"combo arrow open", IDB_COMBO_OPEN_NORMAL, IDB_COMBO_OPEN_HOT, 0},
    {"combo arrow closed", IDB_COMBO_CLOSED_NORMAL, IDB_COMBO_CLOSED_HOT, 0},
};

// The bytes of a "PNG" resource of this module.
std::vector<uint8_t> ResourceBytes(int id) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), "PNG");
  if (!info) return {};
  HGLOBAL loaded = LoadResource(module, info);
  if (!loaded) return {};
  const auto* data = static_cast<const uint8_t*>(LockResource(loaded));
  DWORD size = SizeofResource(module, info);
  if (!data || size == 0) return {};
  return std::vector<uint8_t>(data, data + size);
}

uint32_t BigEndian32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

// The PNG header: signature, then the IHDR chunk with width, height, bit depth
// and colour type.
struct PngHeader {
  bool valid = false;
  uint32_t width = 0, height = 0;
  int bitDepth = 0, colourType = 0;
};

PngHeader ParsePngHeader(const std::vector<uint8_t>& bytes) {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PngHeader h;
  if (bytes.size() < 33 || std::memcmp(bytes.data(), kSignature, 8) != 0) return h;
  if (BigEndian32(&bytes[8]) != 13 || std::memcmp(&bytes[12], "IHDR", 4) != 0) return h;
  h.width = BigEndian32(&bytes[16]);
  h.height = BigEndian32(&bytes[20]);
  h.bitDepth = bytes[24];
  h.colourType = bytes[25];
  h.valid = true;
  return h;
}

struct ImageDeleter {
  void operator()(GpImage* image) const {
    if (image) GdipDisposeImage(image);
  }
};
using BitmapPtr = std::unique_ptr<GpBitmap, ImageDeleter>;

// Decoded with GDI+, as the widgets load them.
BitmapPtr Decode(const std::vector<uint8_t>& bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!block) return nullptr;
  std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
    GlobalFree(block);
    return nullptr;
  }
  GpBitmap* bitmap = nullptr;
  GpStatus status = GdipCreateBitmapFromStream(stream, &bitmap);
  stream->Release();
  return status == Ok ? BitmapPtr(bitmap) : nullptr;
}

// Straight (not premultiplied) ARGB pixels, row by row.
struct Pixels {
  int width = 0, height = 0;
  std::vector<uint32_t> argb;
  uint32_t At(int x, int y) const { return argb[size_t(y) * width + x]; }
  static int Alpha(uint32_t p) { return int(p >> 24); }
};

Pixels ReadPixels(GpBitmap* bitmap) {
  Pixels px;
  UINT w = 0, h = 0;
  GdipGetImageWidth(bitmap, &w);
  GdipGetImageHeight(bitmap, &h);
  BitmapData data{};
  GpRect rect{0, 0, INT(w), INT(h)};
  if (GdipBitmapLockBits(bitmap, &rect, ImageLockModeRead, PixelFormat32bppARGB, &data) != Ok) return px;
  px.width = int(w);
  px.height = int(h);
  px.argb.resize(size_t(w) * h);
  for (UINT y = 0; y < h; ++y) {
    std::memcpy(&px.argb[size_t(y) * w], static_cast<const uint8_t*>(data.Scan0) + ptrdiff_t(y) * data.Stride,
                w * 4);
  }
  GdipBitmapUnlockBits(bitmap, &data);
  return px;
}

Pixels LoadPixels(int id) {
  BitmapPtr bitmap = Decode(ResourceBytes(id));
  return bitmap ? ReadPixels(bitmap.get()) : Pixels{};
}

// Share of pixels that look different when both pictures are composed over a
// mid grey background (so a change of colour or of coverage both count).
double ShareOfVisiblyDifferentPixels(const Pixels& a, const Pixels& b) {
  if (a.width != b.width || a.height != b.height || a.argb.empty()) return 0.0;
  auto over_grey = [](uint32_t p, int shift) {
    int alpha = int(p >> 24), c = int((p >> shift) & 0xFF);
    return (c * alpha + 128 * (255 - alpha)) / 255;
  };
  size_t differing = 0;
  for (size_t i = 0; i < a.argb.size(); ++i) {
    for (int shift : {16, 8, 0}) {
      if (std::abs(over_grey(a.argb[i], shift) - over_grey(b.argb[i], shift)) > 24) {
        ++differing;
        break;
      }
    }
  }
  return double(differing) / double(a.argb.size());
}

class GdiplusSession : public ::testing::Environment {
 public:
  void SetUp() override {
    GdiplusStartupInput input;
    ASSERT_EQ(GdiplusStartup(&token_, &input, nullptr), Ok);
  }
  void TearDown() override { GdiplusShutdown(token_); }

 private:
  ULONG_PTR token_ = 0;
};
const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusSession);

BOOL CALLBACK CollectPngId(HMODULE, LPCSTR, LPSTR name, LONG_PTR collected) {
  if (IS_INTRESOURCE(name)) reinterpret_cast<std::set<int>*>(collected)->insert(int(LOWORD(name)));
  return TRUE;
}

TEST(PngResources, EveryPictureHasItsSizeAndIsRgbaWithAlpha) {
  for (const PictureSize& p : kPictures) {
    SCOPED_TRACE("PNG " + std::to_string(p.id));
    std::vector<uint8_t> bytes = ResourceBytes(p.id);
    ASSERT_FALSE(bytes.empty()) << "no PNG resource";
    PngHeader header = ParsePngHeader(bytes);
    ASSERT_TRUE(header.valid) << "not a PNG stream";
    EXPECT_EQ(header.width, uint32_t(p.width));
    EXPECT_EQ(header.height, uint32_t(p.height));
    EXPECT_EQ(header.bitDepth, 8);
    EXPECT_EQ(header.colourType, 6) << "colour type 6 is RGBA (per-pixel alpha)";

    BitmapPtr bitmap = Decode(bytes);
    ASSERT_NE(bitmap, nullptr) << "GDI+ cannot decode it";
    PixelFormat format = 0;
    GdipGetImagePixelFormat(bitmap.get(), &format);
    EXPECT_TRUE(IsAlphaPixelFormat(format)) << "GDI+ format " << format;
    Pixels px = ReadPixels(bitmap.get());
    ASSERT_EQ(px.width, p.width);
    ASSERT_EQ(px.height, p.height);
    // The alpha channel is used: the picture has see-through and drawn pixels.
    int minAlpha = 255, maxAlpha = 0;
    for (uint32_t v : px.argb) {
      minAlpha = std::min(minAlpha, Pixels::Alpha(v));
      maxAlpha = std::max(maxAlpha, Pixels::Alpha(v));
    }
    EXPECT_LT(minAlpha, 255);
    EXPECT_GT(maxAlpha, 200);
  }
}

TEST(PngResources, ModuleHoldsExactlyThePicturesOfTheTable) {
  std::set<int> stored;
  ASSERT_TRUE(EnumResourceNamesA(GetModuleHandleA(nullptr), "PNG", CollectPngId, LONG_PTR(&stored)));
  std::set<int> expected;
  for (const PictureSize& p : kPictures) expected.insert(p.id);
  EXPECT_EQ(stored, expected);
}

TEST(PngResources, HotAndPressedLooksStandOutFromNormal) {
  for (const ButtonLooks& b : kButtons) {
    SCOPED_TRACE(b.name);
    Pixels normal = LoadPixels(b.normal);
    ASSERT_FALSE(normal.argb.empty());
    for (int other : {b.hot, b.pressed}) {
      if (other == 0) continue;
      Pixels look = LoadPixels(other);
      double share = ShareOfVisiblyDifferentPixels(normal, look);
      std::printf("%-20s %d vs %d: %.1f%% of pixels differ\n", b.name, b.normal, other, share * 100.0);
      EXPECT_GT(share, 0.03) << "PNG " << other << " looks like PNG " << b.normal;
    }
    if (b.pressed != 0) {
      EXPECT_NE(LoadPixels(b.hot).argb, LoadPixels(b.pressed).argb) << "hot and pressed are the same picture";
    }
  }
}

TEST(PngResources, ShapesMeantToBeSeeThroughAre) {
  // Title-bar buttons at rest: only the glyph, the header shows around it.
  for (int id : {IDB_CLOSE_NORMAL, IDB_MINIMIZE_NORMAL, IDB_SETTINGS_NORMAL}) {
    Pixels px = LoadPixels(id);
    ASSERT_EQ(px.width, 34);
    EXPECT_EQ(Pixels::Alpha(px.At(0, 0)), 0) << id;
    EXPECT_EQ(Pixels::Alpha(px.At(33, 33)), 0) << id;
  }
  // The ring mask covers the corners and leaves the middle disc open.
  Pixels ring = LoadPixels(IDB_ITEM_RING_MASK);
  ASSERT_EQ(ring.width, 68);
  EXPECT_EQ(ring.At(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(ring.At(67, 67), 0xFFFFFFFFu);
  EXPECT_EQ(Pixels::Alpha(ring.At(34, 34)), 0);
  EXPECT_EQ(Pixels::Alpha(ring.At(34, 2)), 0);
  // Connect faces: opaque inside, rounded (not square) corners.
  for (int id : {IDB_CONNECT_NORMAL, IDB_DISCONNECT_NORMAL}) {
    Pixels px = LoadPixels(id);
    ASSERT_FALSE(px.argb.empty());
    EXPECT_EQ(Pixels::Alpha(px.At(px.width / 2, px.height / 2)), 255) << id;
    EXPECT_LT(Pixels::Alpha(px.At(0, 0)), 128) << id;
  }
  // The selected-decoration frame is an outline: its middle is empty.
  Pixels frame = LoadPixels(IDB_ITEM_SELECTED_FRAME);
  ASSERT_EQ(frame.width, 68);
  EXPECT_EQ(Pixels::Alpha(frame.At(34, 34)), 0);
  EXPECT_EQ(Pixels::Alpha(frame.At(34, 0)), 255);
}

// Help pictures beside the program, decoded with GDI+ as the program does.
std::wstring ResPath(const char* name) {
  std::string path = std::string(VELA_RES_DIR) + "/" + name;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;  // a Unix path under Wine
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return std::wstring(path.begin(), path.end());
}

TEST(HelpPictures, LieBesideTheProgramAtPreviewSize) {
  for (const char* name : {"default.png", "default_v.jpg", "default_h.jpg"}) {
    SCOPED_TRACE(name);
    GpBitmap* raw = nullptr;
    ASSERT_EQ(GdipCreateBitmapFromFile(ResPath(name).c_str(), &raw), Ok);
    BitmapPtr bitmap(raw);
    UINT w = 0, h = 0;
    GdipGetImageWidth(raw, &w);
    GdipGetImageHeight(raw, &h);
    EXPECT_EQ(w, 727u);
    EXPECT_EQ(h, 522u);
  }
}

}  // namespace
