// The picture tiles of a page grid: painting on memory DCs through PaintTo,
// pictures from the blob store and the events of real mouse messages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "panel/dui_circle_item.h"
#include "panel/dui_decor_item.h"
#include "panel/dui_filter_item.h"
#include "tests/panel/item_test_support.h"
#include "tests/support/canvas.h"
#include "tests/support/pump.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kPlainGrey = RGB(240, 240, 240);
constexpr COLORREF kPink = RGB(0xE7, 0x59, 0x88);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr int kSide = 68;  // the picture square; the name goes below it
const RECT kTile{0, 0, kSide, 90};

// `top` at `alpha` over `under`, per channel.
COLORREF Over(COLORREF top, int alpha, COLORREF under) {
  auto mix = [alpha](int t, int u) { return (t * alpha + u * (255 - alpha) + 127) / 255; };
  return RGB(mix(GetRValue(top), GetRValue(under)), mix(GetGValue(top), GetGValue(under)),
             mix(GetBValue(top), GetBValue(under)));
}

::testing::AssertionResult Near(COLORREF expected, COLORREF actual) {
  auto off = [](int a, int b) { return std::abs(a - b) > 2; };
  if (off(GetRValue(expected), GetRValue(actual)) || off(GetGValue(expected), GetGValue(actual)) ||
      off(GetBValue(expected), GetBValue(actual)))
    return ::testing::AssertionFailure() << std::hex << "expected 0x" << expected << ", got 0x" << actual;
  return ::testing::AssertionSuccess();
}

bool HasPixel(const Canvas& canvas, const RECT& area, const std::function<bool(COLORREF)>& wanted) {
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (wanted(canvas.Pixel(x, y))) return true;
  return false;
}
bool HasPixel(const Canvas& canvas, const RECT& area, COLORREF color) {
  return HasPixel(canvas, area, [color](COLORREF c) { return c == color; });
}

class ItemsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    StoreBlob("items_test.wide", SolidBmp(136, 68, kBlue));
    StoreBlob("items_test.square", SolidBmp(kSide, kSide, kBlue));
    StoreBlob("items_test.giant", SolidBmp(ItemPicture::kMaxSide + 1, 64, kBlue));
    StoreBlob("items_test.text", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'});
  }
  template <class T>
  Canvas& Paint(T* item) {
    RECT client{};
    GetClientRect(*item, &client);
    canvas_ = std::make_unique<Canvas>(client.right, client.bottom, RGB(1, 2, 3));  // a colour no item paints
    item->PaintTo(canvas_->dc());
    return *canvas_;
  }
  ItemHost host{3};
  std::unique_ptr<Canvas> canvas_;
};

TEST_F(ItemsTest, FilterTileShowsSelectionPlainnessAndHoverInItsMaskColour) {
  struct Case {
    const char* name;
    const char* maskColor;  // null: the default pink
    bool selected;
    UINT hover;  // 0, or WM_MOUSEHOVER (then WM_MOUSELEAVE when `leave`)
    bool leave;
    COLORREF aboveThePicture;  // (34, 5): the square above the wide picture
    COLORREF band;             // (1, 70): the band's left end
    COLORREF text;             // some pixel of the name has it
  } cases[] = {
      {"原图", nullptr, false, 0, false, kPlainGrey, kPlainGrey, RGB(76, 76, 76)},
      {"原图", nullptr, true, 0, false, Over(kPink, 229, kPlainGrey), Over(kPink, 178, kPlainGrey), kWhite},
      {"原图", nullptr, false, WM_MOUSEHOVER, false, RGB(224, 224, 224), RGB(224, 224, 224), RGB(76, 76, 76)},
      {"原图", "65280", true, 0, false, Over(kGreen, 229, kPlainGrey), Over(kGreen, 178, kPlainGrey), kWhite},
      {"暖阳", "65280", true, WM_MOUSEHOVER, false, kGreen, kGreen, kWhite},
      {"暖阳", "65280", true, WM_MOUSEHOVER, true, Over(kGreen, 229, kWhite), Over(kGreen, 178, kWhite),
       kWhite},
      {"暖阳", nullptr, false, 0, false, kWhite, Over(kPink, 178, kWhite), kWhite},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + (c.selected ? " selected" : "") + (c.hover ? " hover" : "") +
                 (c.leave ? " left" : "") + (c.maskColor ? " green" : ""));
    auto attributes = Attributes({{"id", "12"}, {"name", c.name}, {"image", "items_test.wide"}});
    if (c.maskColor) attributes->Add("mask_color", c.maskColor);
    auto* item = host.Add<DUIFilterItem>("filter_item", std::move(attributes), kTile);
    ASSERT_TRUE(item);
    item->SetSelected(c.selected);
    if (c.hover) item->SendMessage(c.hover);
    if (c.leave) item->SendMessage(WM_MOUSELEAVE);
    Canvas& canvas = Paint(item);
    EXPECT_TRUE(Near(c.aboveThePicture, canvas.Pixel(34, 5)));
    EXPECT_TRUE(Near(c.band, canvas.Pixel(1, 70)));
    EXPECT_TRUE(HasPixel(canvas, RECT{0, kSide, kSide, 90}, c.text));
    EXPECT_EQ(c.selected, canvas.Pixel(26, 34) == kWhite) << "the adjust mark's line crosses (26, 34)";
  }
  // The phone's modify replaces every attribute, but one without "mask_color"
  // (or "image") keeps the tile's colour and picture.
  auto* green = host.Add<DUIFilterItem>(
      "filter_item", Attributes({{"id", "13"}, {"image", "items_test.wide"}, {"mask_color", "65280"}}),
      kTile);
  ASSERT_TRUE(green);
  green->SetAttributes(Attributes({{"id", "13"}, {"name", "暖阳"}}));
  green->SetSelected(true);
  EXPECT_TRUE(Near(Over(kGreen, 229, kWhite), Paint(green).Pixel(34, 5)));
}

TEST_F(ItemsTest, PicturesAreFittedAndCentredAndUnfitBlobsLeaveThem) {
  auto* decor =
      host.Add<DUIDecorItem>("decor_item", Attributes({{"image", "items_test.wide"}}), RECT{0, 0, 68, 68});
  ASSERT_TRUE(decor);
  struct Case {
    const char* image;  // null: no "image" attribute
    RECT picture;       // where the picture shows
  } cases[] = {
      {nullptr, {0, 17, 68, 51}},  // 136 x 68 became 68 x 34, centred
      {"items_test.text", {0, 17, 68, 51}},
      {"items_test.never_sent", {0, 17, 68, 51}},
      {"items_test.square", {0, 0, 68, 68}},
      {"items_test.giant", {0, 0, 68, 68}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.image ? c.image : "(none)");
    if (c.image) decor->SetAttributes(Attributes({{"image", c.image}}));
    RECT ink = Paint(decor).InkBounds(kWhite);
    EXPECT_TRUE(EqualRect(&c.picture, &ink))
        << ink.left << "," << ink.top << "," << ink.right << "," << ink.bottom;
  }
}

TEST_F(ItemsTest, CircleTileIsRoundAndShowsARingOnCancelTiles) {
  struct Case {
    const char* isCancel;
    bool selected;
    bool ring;      // the thin outline at the disc's left edge (x 0..3, y 34)
    COLORREF disc;  // (10, 34): inside the disc, clear of the pencil
  } cases[] = {
      {"0", false, false, kBlue},
      {"0", true, false, Over(kPink, 204, kBlue)},
      {"1", true, true, kBlue},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("is_cancel ") + c.isCancel + (c.selected ? " selected" : ""));
    auto* circle = host.Add<DUICircleItem>(
        "circle_item",
        Attributes({{"name", "圆"}, {"is_cancel", c.isCancel}, {"image", "items_test.square"}}), kTile);
    ASSERT_TRUE(circle);
    circle->SetSelected(c.selected);
    Canvas& canvas = Paint(circle);
    EXPECT_EQ(kWhite, canvas.Pixel(1, 1)) << "the mask's corner hides the square picture";
    EXPECT_TRUE(Near(c.disc, canvas.Pixel(10, 34)));
    EXPECT_EQ(c.ring, HasPixel(canvas, RECT{0, 34, 4, 35}, RGB(0xE7, 0x59, 0x89)));
    // Small glyphs are smoothed: the name shows as dark grey strokes.
    EXPECT_TRUE(HasPixel(canvas, RECT{0, kSide + 6, kSide, kSide + 20}, [](COLORREF c) {
      return GetRValue(c) < 160 && GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c);
    })) << "the name";
  }
}

TEST_F(ItemsTest, ClicksAndDoubleClicksReachThePhoneAsNotifyText) {
  const std::string click =
      R"(<command name="notify"><event name="click" id="12" parent_id="3"></event></command>)";
  const std::string doubleClick =
      R"(<command name="notify"><event name="doubleclick" id="12" parent_id="3"></event></command>)";
  for (const char* className : {"filter_item", "decor_item", "circle_item"}) {
    SCOPED_TRACE(className);
    ItemHost freshHost(3);
    DUIItem* item = freshHost.Add<DUIItem>(className, Attributes({{"id", "12"}}), kTile);
    ASSERT_TRUE(item);
    // A real double click on the tile: the system makes the second press a
    // WM_LBUTTONDBLCLK because the panel's window class asks for them.
    // Each event carries its own position, so nothing can move the pointer away between them.
    POINT centre{34, 34};
    ClientToScreen(*item, &centre);
    INPUT input[4] = {};
    for (int i = 0; i < 4; ++i) {
      input[i].type = INPUT_MOUSE;
      input[i].mi.dx = MulDiv(centre.x, 65536, GetSystemMetrics(SM_CXSCREEN));
      input[i].mi.dy = MulDiv(centre.y, 65536, GetSystemMetrics(SM_CYSCREEN));
      input[i].mi.dwFlags =
          MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | (i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN);
    }
    ASSERT_EQ(4u, SendInput(4, input, sizeof(INPUT)));
    EXPECT_TRUE(PumpUntil([&] { return freshHost.Events().size() >= 3; }, 5000));
    PumpMessages();
    EXPECT_EQ((std::vector<std::string>{click, doubleClick, click}), freshHost.Events());
  }
}

}  // namespace
