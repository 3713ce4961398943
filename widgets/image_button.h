// A button made only of pictures (normal, hot, pressed, disabled) with a
// short cross-fade when the pointer enters or leaves. A click (press and
// release on the button) is posted to the parent as WM_COMMAND (id, BN_CLICKED).
#pragma once
#include <windows.h>

#include "button_support.h"
#include "window.h"

class ImageButton : public CWindowImpl<ImageButton> {
 public:
  // Timer 1 steps the cross-fade: alpha grows by kFadeStep every 30 ms.
  static constexpr UINT_PTR kFadeTimer = 1;
  static constexpr UINT kFadeIntervalMs = 30;
  static constexpr int kFadeStep = 50;

  ImageButton() = default;
  ~ImageButton() override;

  BEGIN_MSG_MAP(ImageButton)
  MESSAGE_HANDLER(WM_CREATE, OnCreate)
  MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
  MESSAGE_HANDLER(WM_PAINT, OnPaint)
  MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
  MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
  MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
  MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
  MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
  MESSAGE_HANDLER(WM_ENABLE, OnEnable)
  MESSAGE_HANDLER(WM_TIMER, OnTimer)
  END_MSG_MAP()

  // Four PNG resource ids: normal, hot, pressed, disabled (0 = no picture).
  void SetImages(int normalId, int hotId, int pressedId, int disabledId);
  void SetFade(bool fade) { fade_ = fade; }
  // Shows the disabled picture (fading) and stops reporting clicks when false.
  void SetEnabled(bool enabled);
  // In parent-drawn mode the button's own WM_PAINT draws nothing; `parent`
  // paints it by calling Draw with its own DC.
  void SetParentDrawn(bool parentDrawn, HWND parent);

  // Paints the button onto `target` (the button's client coordinates, or the
  // parent's in parent-drawn mode); `scratch` is a memory DC for the pictures.
  virtual void Draw(HDC target, HDC scratch);

  int GetState() const { return state_; }
  int GetAlpha() const { return alpha_; }
  bool IsFading() const { return previous_ != nullptr; }
  bool IsDisabled() const { return disabled_; }

 protected:
  // Draws the state picture (and the fading one) when the client is not empty.
  void DrawStatePicture(HDC target, HDC scratch, const RECT& client);
  void Repaint();
  bool parentDrawn_ = false;
  HWND parent_ = nullptr;
  RECT parentRect_{};

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL&);
  // EnableWindow shows the disabled look too, so owners can use either.
  LRESULT OnEnable(UINT, WPARAM wParam, LPARAM, BOOL&) {
    SetEnabled(wParam != FALSE);
    return 0;
  }
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
  void StartFade();
  void StopFade();

  ButtonImages images_;
  bool disabled_ = false;
  bool fade_ = true;
  int alpha_ = 255;
  HBITMAP shown_ = nullptr;     // not owned: one of images_
  HBITMAP previous_ = nullptr;  // not owned: fading out; null when no fade runs
  int state_ = kStateNormal;
};
