// Image helpers with real GDI+ bitmaps and real pixels.
#include "widgets/image_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/picture_ids.h"
#include "tests/support/temp_folder.h"
#include "tests/widgets/widget_test_support.h"
#include "widgets/nine_grid_image.h"

namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

GpBitmapPtr SolidBitmap(int width, int height, ARGB color) {
  GpBitmap* bitmap = nullptr;
  EXPECT_EQ(Ok, GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) GdipBitmapSetPixel(bitmap, x, y, color);
  return GpBitmapPtr(bitmap);
}

PixelSize SizeOf(GpBitmap* bitmap) {
  UINT w = 0, h = 0;
  GdipGetImageWidth(bitmap, &w);
  GdipGetImageHeight(bitmap, &h);
  return {static_cast<int>(w), static_cast<int>(h)};
}

// The bytes of PNG resource `id` of this program.
std::string PngBytes(int id) {
  HRSRC info = FindResourceA(nullptr, MAKEINTRESOURCEA(id), "PNG");
  HGLOBAL loaded = info ? LoadResource(nullptr, info) : nullptr;
  if (!loaded) return {};
  return std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(nullptr, info));
}

// Pictures found by id are checked through the widgets that show them.
TEST(ImageHelpersTest, PictureFilesLoadOnOpaqueBlackAndMissingPicturesGiveNull) {
  EXPECT_FALSE(LoadPngResource(9999));
  EXPECT_FALSE(LoadPngAsHBitmap(0, 0));
  EXPECT_FALSE(LoadBitmapFromMemory("not a picture", 13));
  TempFolder folder;
  std::string path = folder.path() + "close.png";
  WriteFileBytes(path, PngBytes(IDB_CLOSE_NORMAL));  // a glyph on transparent pixels
  std::wstring wide(path.begin(), path.end());
  BitmapHandle loaded = LoadHBitmapFromFile(wide.c_str());
  ASSERT_TRUE(loaded);
  SIZE size = BitmapSize(loaded.get());
  EXPECT_EQ(34, size.cx);
  EXPECT_EQ(34, size.cy);
  Canvas canvas(34, 34, RGB(200, 200, 200));
  ScratchDC memory;
  {
    SelectScope selected(memory.get(), loaded.get());
    BitBlt(canvas.dc(), 0, 0, 34, 34, memory.get(), 0, 0, SRCCOPY);
  }
  EXPECT_EQ(RGB(0, 0, 0), canvas.Pixel(0, 0)) << "transparent pixels become black";
  EXPECT_GT(canvas.CountNot(RGB(0, 0, 0)), 20) << "the glyph";
  EXPECT_FALSE(LoadHBitmapFromFile(L"Z:\\no\\such\\picture.png"));
}

// The sizes themselves belong to ScaleToFitSize; here the picture is drawn.
TEST(ImageHelpersTest, ScaleToFitDrawsThePictureOverTheNewSize) {
  GpBitmapPtr tall = SolidBitmap(40, 60, 0xFF0000FF);
  GpBitmapPtr forced = ScaleToFit(tall.get(), 68, true);
  ASSERT_TRUE(forced);
  EXPECT_EQ(45, SizeOf(forced.get()).width);
  EXPECT_EQ(68, SizeOf(forced.get()).height);
  ARGB pixel = 0;
  GdipBitmapGetPixel(forced.get(), 22, 34, &pixel);
  EXPECT_EQ(0xFF0000FFu, pixel) << "the picture is drawn over the whole area";
  EXPECT_FALSE(ScaleToFit(nullptr, 68));
}

// A 20 x 10 picture whose every column has its own colour, so each drawn
// pixel tells which source column it came from.
class NineGridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    picture_ = CreateDib(20, 10, 32, reinterpret_cast<void**>(&bits_));
    ASSERT_TRUE(picture_);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 20; ++x) bits_[y * 20 + x] = 0xFF000000u | ColumnColour(x, 9 - y);
    grid_.SetBitmap(picture_.get(), false);
  }
  // Opaque BGR value of source pixel (x, y): red = column, green = row.
  static uint32_t ColumnColour(int x, int y) { return (static_cast<uint32_t>(10 * x) << 16) | (20 * y << 8); }
  static COLORREF SourcePixel(int x, int y) { return RGB(10 * x, 20 * y, 0); }
  BitmapHandle picture_;
  uint32_t* bits_ = nullptr;
  NineGridImage grid_;
  ScratchDC scratch_;
};

TEST_F(NineGridTest, TwentyByTenIntoHundredByTenStretchesTheMiddleColumn) {
  Canvas canvas(100, 10);
  grid_.Draw(canvas.dc(), scratch_.get(), 0, 0, 100, 10);
  EXPECT_EQ(10, grid_.GetSplits().x1);
  EXPECT_EQ(5, grid_.GetSplits().y1);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) ASSERT_EQ(SourcePixel(x, y), canvas.Pixel(x, y)) << x << "," << y;
    for (int x = 10; x < 90; ++x) ASSERT_EQ(SourcePixel(10, y), canvas.Pixel(x, y)) << x << "," << y;
    for (int x = 90; x < 100; ++x) ASSERT_EQ(SourcePixel(x - 80, y), canvas.Pixel(x, y)) << x << "," << y;
  }
  // Opacity applies to every piece.
  canvas.Fill(RGB(255, 255, 255));
  grid_.SetOpacity(0);
  grid_.Draw(canvas.dc(), scratch_.get(), 0, 0, 100, 10);
  EXPECT_EQ(0, canvas.CountNot(RGB(255, 255, 255)));
}

}  // namespace
