#include "image_button.h"

ImageButton::~ImageButton() {
  if (IsWindow()) {
    alpha_ = 255;
    previous_ = nullptr;
    KillTimer(kFadeTimer);
  }
}

void ImageButton::SetImages(int normalId, int hotId, int pressedId, int disabledId) {
  // The fade must not keep pointing at a picture about to be deleted.
  shown_ = nullptr;
  previous_ = nullptr;
  images_.Load(normalId, hotId, pressedId, disabledId);
  if (IsWindow()) Repaint();
}

void ImageButton::SetEnabled(bool enabled) {
  if (disabled_ != enabled) return;  // no change
  disabled_ = !enabled;
  StartFade();
}

void ImageButton::SetParentDrawn(bool parentDrawn, HWND parent) {
  parentDrawn_ = parentDrawn;
  parent_ = parent;
}

void ImageButton::Repaint() {
  RepaintButton(m_hWnd, parent_, parentRect_);
}

void ImageButton::StartFade() {
  previous_ = shown_;
  alpha_ = 0;
  if (IsWindow()) SetTimer(kFadeTimer, kFadeIntervalMs);
}

void ImageButton::StopFade() {
  alpha_ = 255;
  previous_ = nullptr;
  if (IsWindow()) KillTimer(kFadeTimer);
}

LRESULT ImageButton::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  state_ = kStateNormal;
  return 0;
}

LRESULT ImageButton::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  if (parentDrawn_) {
    PAINTSTRUCT ps;
    BeginPaint(m_hWnd, &ps);
    EndPaint(m_hWnd, &ps);
    return 0;
  }
  DoubleBufferedPaint paint(m_hWnd);
  FillSolid(paint.dc(), paint.client(), RGB(255, 255, 255));
  MemoryDC scratch(paint.dc(), 1, 1);
  Draw(paint.dc(), scratch.get());
  return 0;
}

void ImageButton::Draw(HDC target, HDC scratch) {
  RECT client{};
  GetClientRect(&client);
  ParentDrawnViewport viewport(m_hWnd, parentDrawn_, parent_, target, &parentRect_);
  if (!IsRectEmpty(&client)) DrawStatePicture(target, scratch, client);
}

void ImageButton::DrawStatePicture(HDC target, HDC scratch, const RECT& client) {
  if (fade_ && previous_) {
    BlendBitmapCentred(target, scratch, previous_, client, static_cast<BYTE>(255 - alpha_));
  } else {
    alpha_ = 255;
  }
  HBITMAP picture = images_.ForState(disabled_, state_);
  if (picture) {
    BlendBitmapCentred(target, scratch, picture, client, static_cast<BYTE>(alpha_));
    shown_ = picture;
  }
}

LRESULT ImageButton::OnMouseMove(UINT, WPARAM, LPARAM, BOOL&) {
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
  TrackMouseEvent(&track);
  if (state_ != kStateNormal) return 0;
  state_ = kStateHot;
  StartFade();
  Repaint();
  return 0;
}

LRESULT ImageButton::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&) {
  if (state_ == kStateNormal) return 0;
  state_ = kStateNormal;
  StartFade();
  Repaint();
  return 0;
}

LRESULT ImageButton::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
  if (state_ == kStatePressed) return 0;
  state_ = kStatePressed;
  StopFade();
  Repaint();
  return 0;
}

LRESULT ImageButton::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&) {
  // Only a release that ends a press on this button is a click.
  if (state_ == kStatePressed && !disabled_) ReportClick(m_hWnd, true);
  if (state_ != kStateHot) {
    state_ = kStateHot;
    StopFade();
    Repaint();
  }
  return 0;
}

LRESULT ImageButton::OnKeyDown(UINT, WPARAM wParam, LPARAM, BOOL&) {
  if (wParam == VK_RETURN && !disabled_) ReportClick(m_hWnd, false);
  return 0;
}

LRESULT ImageButton::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if (wParam != kFadeTimer) {
    handled = FALSE;
    return 0;
  }
  alpha_ += kFadeStep;
  if (alpha_ >= 255) {
    alpha_ = 255;
    previous_ = nullptr;
    KillTimer(kFadeTimer);
  }
  Repaint();
  return 0;
}
