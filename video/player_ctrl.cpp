#include "video/player_ctrl.h"

#include <shellapi.h>

#include <string>

#include "config/core/app_globals.h"
#include "video/preview_painter.h"
#include "video/stream_worker.h"
#include "video/video_frame.h"
#include "widgets/image_helpers.h"

void PlayerCtrl::LoadIdleImage(bool invalidate) {
  const std::string file = ProgramFolder + "res\\default.png";
  // The program folder is UTF-8 (the process code page); the loader takes UTF-16.
  const int length = MultiByteToWideChar(CP_UTF8, 0, file.c_str(), -1, nullptr, 0);
  std::wstring wide(length > 0 ? length : 1, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, file.c_str(), -1, wide.data(), length);
  BitmapHandle picture = LoadHBitmapFromFile(wide.c_str());
  if (!picture) return;  // keep what was shown before (or black)
  idleImage_ = std::move(picture);
  if (invalidate) Invalidate(TRUE);
}

void PlayerCtrl::SetWorker(StreamWorker* worker) {
  worker_ = worker;
  ShareClientSize();
}

void PlayerCtrl::ShareClientSize() {
  RECT client{};
  if (worker_ && m_hWnd && GetClientRect(&client))
    worker_->frameBuffer().SetPreviewArea(client.right - client.left, client.bottom - client.top);
}

LRESULT PlayerCtrl::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  RECT client{};
  GetClientRect(&client);
  linkRect_ = HelpLinkRect(client);
  ShareClientSize();
  LoadIdleImage(false);
  ClientDC windowDC(m_hWnd);
  backDC_.reset(CreateCompatibleDC(windowDC.get()));
  scratchDC_.reset(CreateCompatibleDC(windowDC.get()));
  if (backDC_) SetTextColor(backDC_.get(), RGB(255, 255, 255));
  return 0;
}

void PlayerCtrl::EnsureBackBuffer(HDC paintDC, int width, int height) {
  if (backBitmap_) {
    BITMAP info{};
    GetObjectA(backBitmap_.get(), sizeof(info), &info);
    if (info.bmWidth == width && info.bmHeight == height) return;
  }
  backSelect_.reset();
  backBitmap_.reset(CreateCompatibleBitmap(paintDC, width, height));
  if (backBitmap_) backSelect_ = std::make_unique<SelectScope>(backDC_.get(), backBitmap_.get());
}

bool PlayerCtrl::Compose(HDC reference, const RECT& client) {
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (!reference || !backDC_ || !scratchDC_ || width <= 0 || height <= 0) return false;
  EnsureBackBuffer(reference, width, height);
  if (!backBitmap_) return false;
  PreviewContent content;
  content.streaming = worker_ != nullptr;
  content.frame = currentFrame_;
  content.idleImage = idleImage_.get();
  PaintPreview(backDC_.get(), scratchDC_.get(), client, content);
  if (drawHandler_) drawHandler_->OnDraw(backDC_.get(), scratchDC_.get());
  return true;
}

LRESULT PlayerCtrl::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  RECT client{};
  GetClientRect(&client);
  PAINTSTRUCT ps{};
  HDC paintDC = BeginPaint(m_hWnd, &ps);
  if (Compose(paintDC, client))
    BitBlt(paintDC, 0, 0, client.right - client.left, client.bottom - client.top, backDC_.get(), 0, 0,
           SRCCOPY);
  EndPaint(m_hWnd, &ps);
  return 0;
}

LRESULT PlayerCtrl::OnSetCursor(UINT, WPARAM, LPARAM, BOOL&) {
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(m_hWnd, &cursor);
  SetCursor(LoadCursor(nullptr, PtInRect(&linkRect_, cursor) ? IDC_HAND : IDC_ARROW));
  return TRUE;
}

LRESULT PlayerCtrl::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&) {
  const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  if (currentFrame_ || !PtInRect(&linkRect_, at)) return 0;
  const std::string page = GetAppString(AppString::OpenDebugModeUrl);
  if (!page.empty()) ShellExecuteA(m_hWnd, "open", page.c_str(), nullptr, nullptr, SW_SHOW);
  return 0;
}

LRESULT PlayerCtrl::OnTimer(UINT, WPARAM, LPARAM, BOOL&) {
  // Only the newest frame is shown; those that came and went since the last
  // tick reached the cameras already and are skipped here.
  const VideoFrame* shown = currentFrame_;
  if (worker_) currentFrame_ = worker_->TakeNextFrame();
  // Nothing new since the last tick: the window already shows this frame.
  if (currentFrame_ == shown) return 0;
  if (!currentFrame_ || !shown || currentFrame_->width() != shown->width() ||
      currentFrame_->height() != shown->height() || !IsWindowVisible()) {
    Invalidate(FALSE);  // the bars change too, or nothing can be seen: a normal paint
    return 0;
  }
  // The same size as before: only the picture's rectangle of the back
  // buffer is painted again (the overlay clipped to it) and copied straight
  // onto the window. Drawing here instead of through WM_PAINT saves the
  // update-region round trips of a paint, thirty times a second.
  RECT client{};
  GetClientRect(&client);
  if (!backBitmap_ || !scratchDC_) {
    Invalidate(FALSE);
    return 0;
  }
  HDC back = backDC_.get();
  const RECT picture = PaintPicture(back, scratchDC_.get(), client, *currentFrame_);
  if (drawHandler_) {
    const int saved = SaveDC(back);
    IntersectClipRect(back, picture.left, picture.top, picture.right, picture.bottom);
    drawHandler_->OnDraw(back, scratchDC_.get());
    RestoreDC(back, saved);
  }
  ClientDC window(m_hWnd);
  BitBlt(window.get(), picture.left, picture.top, picture.right - picture.left, picture.bottom - picture.top,
         back, picture.left, picture.top, SRCCOPY);
  return 0;
}
