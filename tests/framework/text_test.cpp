// UTF-8 text on GDI: conversions, and Chinese drawn through the W functions
// (the A functions would draw the UTF-8 bytes as mojibake).
#include <gtest/gtest.h>

#include <vector>

#include "framework/gdi.h"
#include "framework/text.h"

namespace {

const char kChinese[] = "中文字";  // UTF-8 source text
const wchar_t kWide[] = L"\x4E2D\x6587\x5B57";

// Renders text with `draw` into a 120 x 40 white memory bitmap; returns its pixels.
template <class Draw>
std::vector<COLORREF> Render(Draw draw) {
  MemoryDC mem(nullptr, 120, 40);
  FillSolid(mem.get(), RECT{0, 0, 120, 40}, RGB(255, 255, 255));
  FontHandle font(CreateFontW(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY,
                              0,
                              L"\x5FAE\x8F6F\x96C5\x9ED1"));  // 微软雅黑
  SelectScope useFont(mem.get(), font.get());
  SetBkMode(mem.get(), TRANSPARENT);
  SetTextColor(mem.get(), RGB(0, 0, 0));
  draw(mem.get());
  std::vector<COLORREF> pixels;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) pixels.push_back(GetPixel(mem.get(), x, y));
  return pixels;
}

size_t CountInk(const std::vector<COLORREF>& pixels) {
  size_t n = 0;
  for (COLORREF c : pixels) n += (c != RGB(255, 255, 255));
  return n;
}

TEST(Utf8Text, DrawsAndMeasuresChineseLikeTheWideFunctionsAndUnlikeTheAnsiOne) {
  RECT rc{0, 0, 120, 40};
  auto viaHelper = Render([&](HDC dc) { DrawTextUtf8(dc, kChinese, &rc, DT_LEFT | DT_TOP | DT_SINGLELINE); });
  auto viaWide = Render([&](HDC dc) { DrawTextW(dc, kWide, -1, &rc, DT_LEFT | DT_TOP | DT_SINGLELINE); });
  auto viaAnsi = Render([&](HDC dc) { DrawTextA(dc, kChinese, -1, &rc, DT_LEFT | DT_TOP | DT_SINGLELINE); });
  EXPECT_GT(CountInk(viaHelper), 50u);
  EXPECT_EQ(viaHelper, viaWide);
  EXPECT_NE(viaHelper, viaAnsi);
  EXPECT_EQ(Render([](HDC dc) { TextOutUtf8(dc, 2, 2, kChinese); }),
            Render([](HDC dc) { TextOutW(dc, 2, 2, kWide, 3); }));

  MemoryDC mem(nullptr, 10, 10);
  SIZE one = MeasureTextUtf8(mem.get(), "中");
  EXPECT_GT(one.cx, 0);
  EXPECT_EQ(MeasureTextUtf8(mem.get(), kChinese).cx, 3 * one.cx);
  // And back: what the windows give as wide text.
  EXPECT_EQ(WideToUtf8(kWide), kChinese);
  EXPECT_TRUE(WideToUtf8(L"").empty() && Utf8ToWide("").empty());
}

}  // namespace
