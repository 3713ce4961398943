#include "widgets/image_button.h"

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

void ImageButton::Draw(HDC target, HDC scratch) {
  RECT client{};
  GetClientRect(&client);
  ParentDrawnViewport viewport = EnterParentPlace(target);
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

void ImageButton::OnStateChanged(bool hover) {
  if (hover) {
    StartFade();
  } else {
    StopFade();
  }
  Repaint();
}

LRESULT ImageButton::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&) {
  // Only a release that ends a press on this button is a click, posted.
  if (state_ == kStatePressed && !disabled_) ReportClick(m_hWnd, true);
  ChangeState(kStateHot, false);
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
