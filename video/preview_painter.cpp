#include "video/preview_painter.h"

#include "config/ui_font.h"
#include "framework/gdi.h"
#include "framework/text.h"
#include "video/video_frame.h"
#include "widgets/text_scope.h"

namespace {

// Shown in the link rectangle when there is no idle picture to carry it.
constexpr const char* kHelpLinkText = "连接遇到问题？查看帮助";

void DrawHelpLinkText(HDC dc, const RECT& client) {
  RECT link = HelpLinkRect(client);
  if (IsRectEmpty(&link)) return;
  LOGFONTA look{};
  GetObjectA(GetUiFont(14), sizeof(look), &look);
  look.lfUnderline = TRUE;
  FontHandle underlined(CreateFontIndirectA(&look));
  SelectScope font(dc, underlined.get());
  TransparentTextScope text(dc, RGB(255, 255, 255));
  DrawTextUtf8(dc, kHelpLinkText, &link, DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
}

}  // namespace

RECT HelpLinkRect(const RECT& client) {
  return RECT{client.left + 200, client.top + 400, client.right - 200, client.bottom - 20};
}

RECT FitInside(const RECT& client, int frameWidth, int frameHeight) {
  const int cw = client.right - client.left;
  const int ch = client.bottom - client.top;
  if (cw <= 0 || ch <= 0 || frameWidth <= 0 || frameHeight <= 0) return RECT{};
  const float clientRatio = static_cast<float>(cw) / static_cast<float>(ch);
  const float frameRatio = static_cast<float>(frameWidth) / static_cast<float>(frameHeight);
  if (clientRatio > frameRatio) {
    const int width = static_cast<int>(static_cast<float>(ch) * frameRatio);
    const int left = client.left + (cw - width) / 2;
    return RECT{left, client.top, left + width, client.bottom};
  }
  const int height = static_cast<int>(static_cast<float>(cw) / frameRatio);
  const int top = client.top + (ch - height) / 2;
  return RECT{client.left, top, client.right, top + height};
}

void PaintPreview(HDC target, HDC scratch, const RECT& client, const PreviewContent& content) {
  FillSolid(target, client, RGB(0, 0, 0));
  if (!content.streaming) return;
  if (content.frame) {
    const VideoFrame& frame = *content.frame;
    const RECT to = FitInside(client, frame.width(), frame.height());
    SelectScope source(scratch, frame.bitmap());
    const int oldMode = SetStretchBltMode(target, HALFTONE);
    SetBrushOrgEx(target, 0, 0, nullptr);
    StretchBlt(target, to.left, to.top, to.right - to.left, to.bottom - to.top, scratch, 0, 0, frame.width(),
               frame.height(), SRCCOPY);
    SetStretchBltMode(target, oldMode);
  } else if (content.idleImage) {
    SelectScope source(scratch, content.idleImage);
    BitBlt(target, client.left, client.top, client.right - client.left, client.bottom - client.top, scratch,
           0, 0, SRCCOPY);
  } else {
    DrawHelpLinkText(target, client);
  }
}
