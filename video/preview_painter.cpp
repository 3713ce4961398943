#include "video/preview_painter.h"

#include "config/ui_font.h"
#include "framework/gdi.h"
#include "framework/text.h"
#include "video/core/frame_geometry.h"
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
  int width, height;
  FitSize(client.right - client.left, client.bottom - client.top, frameWidth, frameHeight, &width, &height);
  if (width <= 0 || height <= 0) return RECT{};
  const int left = client.left + (client.right - client.left - width) / 2;
  const int top = client.top + (client.bottom - client.top - height) / 2;
  return RECT{left, top, left + width, top + height};
}

RECT PaintPicture(HDC target, HDC scratch, const RECT& client, const VideoFrame& frame) {
  const RECT to = FitInside(client, frame.width(), frame.height());
  const VideoFrame* small = frame.preview();
  const int dw = small ? to.right - to.left - small->width() : -1;
  const int dh = small ? to.bottom - to.top - small->height() : -1;
  if (dw >= 0 && dw <= 1 && dh >= 0 && dh <= 1) {
    // Made at this size with the frame (up to one pixel narrower or lower
    // for the scaler): a plain copy, no stretch; the spare pixel stays black.
    if (dw || dh) FillSolid(target, to, RGB(0, 0, 0));
    SelectScope source(scratch, small->bitmap());
    BitBlt(target, to.left + dw / 2, to.top + dh / 2, small->width(), small->height(), scratch, 0, 0,
           SRCCOPY);
    return to;
  }
  SelectScope source(scratch, frame.bitmap());
  const int oldMode = SetStretchBltMode(target, HALFTONE);
  SetBrushOrgEx(target, 0, 0, nullptr);
  StretchBlt(target, to.left, to.top, to.right - to.left, to.bottom - to.top, scratch, 0, 0, frame.width(),
             frame.height(), SRCCOPY);
  SetStretchBltMode(target, oldMode);
  return to;
}

void PaintPreview(HDC target, HDC scratch, const RECT& client, const PreviewContent& content) {
  FillSolid(target, client, RGB(0, 0, 0));
  if (!content.streaming) return;
  if (content.frame) {
    PaintPicture(target, scratch, client, *content.frame);
  } else if (content.idleImage) {
    SelectScope source(scratch, content.idleImage);
    BitBlt(target, client.left, client.top, client.right - client.left, client.bottom - client.top, scratch,
           0, 0, SRCCOPY);
  } else {
    DrawHelpLinkText(target, client);
  }
}
