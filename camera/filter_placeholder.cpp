#include "camera/filter_placeholder.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "framework/gdi.h"

namespace {

constexpr COLORREF kBackground = RGB(24, 26, 32);
constexpr COLORREF kAccent = RGB(255, 92, 64);
constexpr COLORREF kText = RGB(235, 235, 235);
constexpr COLORREF kHintText = RGB(160, 164, 172);

FontHandle MakeFont(int pixels, int weight) {
  return FontHandle(CreateFontW(-pixels, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH,
                                L"微软雅黑"));
}

void DrawCentred(HDC dc, const wchar_t* text, HFONT font, COLORREF colour, RECT box) {
  SelectScope select(dc, font);
  SetTextColor(dc, colour);
  DrawTextW(dc, text, -1, &box, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

// The logo: a filled circle with the camera's "V", the program's name
// beneath, then the hint.
void DrawLogoAndHint(HDC dc, int width, int height) {
  const int unit = std::min(width, height);
  const int radius = unit / 8, cx = width / 2, cy = height / 2 - unit / 8;
  BrushHandle background(CreateSolidBrush(kBackground));
  RECT all{0, 0, width, height};
  FillRect(dc, &all, background.get());
  BrushHandle accent(CreateSolidBrush(kAccent));
  PenHandle noPen(CreatePen(PS_NULL, 0, 0));
  {
    SelectScope brush(dc, accent.get());
    SelectScope pen(dc, noPen.get());
    Ellipse(dc, cx - radius, cy - radius, cx + radius, cy + radius);
  }
  SetBkMode(dc, TRANSPARENT);
  FontHandle mark = MakeFont(radius * 3 / 2, FW_BOLD);
  DrawCentred(dc, L"V", mark.get(), RGB(255, 255, 255), {cx - radius, cy - radius, cx + radius, cy + radius});
  FontHandle name = MakeFont(unit / 14, FW_BOLD);
  const int nameTop = cy + radius + unit / 24;
  DrawCentred(dc, L"Vela直播助手", name.get(), kText, {0, nameTop, width, nameTop + unit / 10});
  // The hint shrinks until it fits the portrait camera's narrow width.
  const wchar_t* hintText = L"请用USB连接手机，打开Vela相机的直播模式后点击“连接”";
  FontHandle hint;
  for (int pixels = unit / 28; pixels >= 8; pixels -= 1) {
    hint = MakeFont(pixels, FW_NORMAL);
    SelectScope select(dc, hint.get());
    SIZE extent{};
    GetTextExtentPoint32W(dc, hintText, static_cast<int>(wcslen(hintText)), &extent);
    if (extent.cx <= width * 9 / 10) break;
  }
  const int hintTop = nameTop + unit / 10 + unit / 40;
  DrawCentred(dc, hintText, hint.get(), kHintText, {0, hintTop, width, hintTop + unit / 14});
}

}  // namespace

std::vector<uint8_t> DrawPlaceholder(int width, int height) {
  const size_t row = static_cast<size_t>(width) * 3;
  std::vector<uint8_t> picture(row * height);
  for (size_t i = 0; i < picture.size(); i += 3) {
    picture[i] = GetBValue(kBackground);
    picture[i + 1] = GetGValue(kBackground);
    picture[i + 2] = GetRValue(kBackground);
  }
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB};
  void* bits = nullptr;
  BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
  if (!bitmap || !dc || !bits) return picture;
  {
    SelectScope select(dc.get(), bitmap.get());
    DrawLogoAndHint(dc.get(), width, height);
    GdiFlush();
  }
  // DIB rows are padded to four bytes; the section's rows are not.
  const size_t stride = (row + 3) & ~static_cast<size_t>(3);
  for (int y = 0; y < height; ++y)
    std::memcpy(&picture[y * row], static_cast<const uint8_t*>(bits) + y * stride, row);
  return picture;
}
