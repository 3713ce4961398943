// A button made only of pictures (normal, hot, pressed, disabled) with a
// short cross-fade when the pointer enters or leaves. A click (press and
// release on the button) is posted to the parent as WM_COMMAND (id, BN_CLICKED).
#pragma once
#include <windows.h>

#include "widgets/button_window.h"

class ImageButton : public ButtonWindow<ImageButton> {
 public:
  // Timer 1 steps the cross-fade: alpha grows by kFadeStep every 30 ms.
  static constexpr UINT_PTR kFadeTimer = 1;
  static constexpr UINT kFadeIntervalMs = 30;
  static constexpr int kFadeStep = 50;

  ImageButton() = default;
  ~ImageButton() override;

  BEGIN_MSG_MAP(ImageButton)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    CHAIN_MSG_MAP(ButtonWindow<ImageButton>)
  END_MSG_MAP()

  // Four PNG resource ids: normal, hot, pressed, disabled (0 = no picture).
  void SetImages(int normalId, int hotId, int pressedId, int disabledId);
  void SetFade(bool fade) { fade_ = fade; }
  // Shows the disabled picture (fading) and stops reporting clicks when false.
  void SetEnabled(bool enabled);

  // Paints the button onto `target` (the button's client coordinates, or the
  // parent's in parent-drawn mode); `scratch` is a memory DC for the pictures.
  virtual void Draw(HDC target, HDC scratch);

  int GetAlpha() const { return alpha_; }
  bool IsFading() const { return previous_ != nullptr; }

 protected:
  // Draws the state picture (and the fading one) when the client is not empty.
  void DrawStatePicture(HDC target, HDC scratch, const RECT& client);

 private:
  friend class ButtonWindow<ImageButton>;
  // Entering and leaving fade; a press or release shows at once.
  void OnStateChanged(bool hover);
  LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
  void StartFade();
  void StopFade();

  bool fade_ = true;
  int alpha_ = 255;
  HBITMAP shown_ = nullptr;     // not owned: one of images_
  HBITMAP previous_ = nullptr;  // not owned: fading out; null when no fade runs
};
