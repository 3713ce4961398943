// Image helpers with real GDI+ bitmaps and real pixels.
#include "widgets/image_helpers.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/picture_ids.h"
#include "tests/support/temp_folder.h"
#include "tests/widgets/widget_test_support.h"
#include "widgets/nine_grid_image.h"

namespace {

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
