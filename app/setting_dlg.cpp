#include "app/setting_dlg.h"

#include "app/window_frame.h"
#include "config/core/app_globals.h"
#include "config/local_config.h"
#include "config/ui_font.h"
#include "framework/text.h"
#include "resources/picture_ids.h"
#include "widgets/button_support.h"
#include "widgets/image_helpers.h"

namespace {
constexpr int kFontSize = 12;
constexpr int kCornerSize = 4;
constexpr int kTitleGap = 20;     // from the icon's bottom to the title's top
constexpr int kSubtitleGap = 58;  // from the icon's bottom to the tagline's top
// Normal, hot, pressed, disabled.
constexpr COLORREF kButtonColors[4] = {0x8959E7, 0x8959E7, 0x7D52D5, 0x727272};
// The version text as the buffer of ten characters leaves it.
constexpr int kVersionBufferSize = 10;

void StyleButton(CIconButton& button, const std::string& text) {
  button.SetText(text);
  button.SetFontSize(kFontSize);
  button.SetTextColors(kButtonColors[0], kButtonColors[1], kButtonColors[2], kButtonColors[3]);
}

// Blends `bitmap` centred horizontally in `client` with its top at `top`.
void BlendCentred(HDC dc, HDC scratch, HBITMAP bitmap, const RECT& client, int top) {
  const SIZE size = BitmapSize(bitmap);
  BlendBitmapAt(dc, scratch, bitmap, client.left + (client.right - client.left - size.cx) / 2, top, 255);
}
}  // namespace

LRESULT Setting::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  MoveWindow(0, 0, kWidth, kHeight, FALSE);
  CenterWindow(m_hWnd);
  RECT client;
  GetClientRect(&client);
  SetRoundedRegion(m_hWnd, client.right, client.bottom);

  char version[kVersionBufferSize] = "";
  GetFileVersionText(version, kVersionBufferSize);
  versionLine_ = std::string("当前版本号：") + version;

  titleBitmap_ = LoadPngAsHBitmap(IDB_ABOUT_TITLE, 0);
  subtitleBitmap_ = LoadPngAsHBitmap(IDB_ABOUT_SUBTITLE, 0);
  iconBitmap_ = LoadPngAsHBitmap(IDB_ABOUT_ICON, 0);
  CreateButtons(client);
  const int iconLeft = (client.right - kIconSize) / 2;
  iconRect_ = RECT{iconLeft, kIconTop, iconLeft + kIconSize, kIconTop + kIconSize};
  return TRUE;
}

void Setting::CreateButtons(const RECT& client) {
  constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE;
  closeButton_.Create(m_hWnd, RECT{client.right - 39, 4, client.right - 5, 38}, nullptr, kStyle, 0, kCloseId);
  closeButton_.SetImages(IDB_CLOSE_NORMAL, IDB_CLOSE_HOT, IDB_CLOSE_PRESSED, IDB_CLOSE_NORMAL);
  closeButton_.SetParentDrawn(true, m_hWnd);

  checkButton_.Create(m_hWnd, RECT{16, client.bottom - 28, 71, client.bottom - 16}, nullptr, kStyle, 0,
                      kCheckId);
  StyleButton(checkButton_, "检查更新");
  downloadButton_.Create(m_hWnd, RECT{84, client.bottom - 28, 184, client.bottom - 16}, nullptr, kStyle, 0,
                         kDownloadId);
  const std::string appName = GetAppString(AppString::AppName);
  StyleButton(downloadButton_, appName.empty() ? std::string("下载Vela相机") : "下载" + appName);
}

LRESULT Setting::OnDownload(WORD, WORD, HWND, BOOL&) {
  const std::string page = GetAppString(AppString::AppUrl);
  open_(page.empty() ? std::string(kProductPageUrl) : page);
  return 0;
}

void Setting::PaintClient(HDC dc, const RECT& client) {
  FillSolid(dc, client, RGB(255, 255, 255));
  MemoryDC scratch(dc, 1, 1);
  BlendBitmapAt(dc, scratch.get(), iconBitmap_.get(), iconRect_.left, iconRect_.top, 255);
  BlendCentred(dc, scratch.get(), titleBitmap_.get(), client, iconRect_.bottom + kTitleGap);
  BlendCentred(dc, scratch.get(), subtitleBitmap_.get(), client, iconRect_.bottom + kSubtitleGap);

  SelectScope font(dc, GetUiFont(kFontSize));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, kVersionColor);
  RECT line{client.right - 216, client.bottom - 28, client.right - 16, client.bottom - 16};
  DrawTextUtf8(dc, versionLine_, &line, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);

  if (closeButton_.IsWindow()) closeButton_.Draw(dc, scratch.get());
  RegionHandle outline(::CreateRoundRectRgn(client.left, client.top, client.right + 1, client.bottom + 1,
                                            kCornerSize, kCornerSize));
  BrushHandle frame(::CreateSolidBrush(kFrameColor));
  ::FrameRgn(dc, outline.get(), frame.get(), 1, 1);
}

LRESULT Setting::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  DoubleBufferedPaint paint(m_hWnd);
  PaintClient(paint.dc(), paint.client());
  return 0;
}
