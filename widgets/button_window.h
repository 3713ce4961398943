// The window part that ImageButton and CIconButton share: the four state
// pictures, the disabled flag, parent-drawn mode, the own double-buffered
// paint and the hover and press transitions of the state.
//
// What differs stays in T:
// - how a state change shows: T::OnStateChanged(bool hover) is called after
//   every change (ImageButton cross-fades on hover changes, CIconButton
//   switches at once);
// - SetImages, SetEnabled and Draw;
// - WM_LBUTTONUP, because the two report a click by different rules.
// T chains this map with CHAIN_MSG_MAP(ButtonWindow<T>).
#pragma once
#include <windows.h>

#include "framework/gdi.h"
#include "framework/window.h"
#include "widgets/button_support.h"
#include "widgets/mouse_input.h"

template <class T>
class ButtonWindow : public CWindowImpl<T> {
 public:
  BEGIN_MSG_MAP(ButtonWindow)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
    MESSAGE_HANDLER(WM_ENABLE, OnEnable)
  END_MSG_MAP()

  // In parent-drawn mode the button's own WM_PAINT draws nothing; `parent`
  // paints it by calling Draw with its own DC.
  void SetParentDrawn(bool parentDrawn, HWND parent) {
    parentDrawn_ = parentDrawn;
    parent_ = parent;
  }
  int GetState() const { return state_; }
  bool IsDisabled() const { return disabled_; }

 protected:
  // Moves to `state` unless the button is in it already and lets T show the
  // change; `hover` tells a change by the pointer entering or leaving from
  // one by a press or release.
  void ChangeState(int state, bool hover) {
    if (state_ == state) return;
    state_ = state;
    static_cast<T*>(this)->OnStateChanged(hover);
  }
  void Repaint() { RepaintButton(this->m_hWnd, parent_, parentRect_); }
  // For Draw: in parent-drawn mode, paint at the button's place in the parent.
  ParentDrawnViewport EnterParentPlace(HDC target) {
    return ParentDrawnViewport(this->m_hWnd, parentDrawn_, parent_, target, &parentRect_);
  }

  ButtonImages images_;
  bool disabled_ = false;
  int state_ = kStateNormal;
  bool parentDrawn_ = false;
  HWND parent_ = nullptr;
  RECT parentRect_{};

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    state_ = kStateNormal;
    return 0;
  }
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    if (parentDrawn_) {
      PAINTSTRUCT ps;
      BeginPaint(this->m_hWnd, &ps);
      EndPaint(this->m_hWnd, &ps);
      return 0;
    }
    DoubleBufferedPaint paint(this->m_hWnd);
    FillSolid(paint.dc(), paint.client(), RGB(255, 255, 255));
    // Labels are drawn over the white (the picture buttons draw none).
    SetBkMode(paint.dc(), TRANSPARENT);
    MemoryDC scratch(paint.dc(), 1, 1);
    static_cast<T*>(this)->Draw(paint.dc(), scratch.get());
    return 0;
  }
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&) {
    RequestMouseLeave(this->m_hWnd);
    // Only a normal button turns hot; a pressed one stays pressed.
    if (state_ == kStateNormal) ChangeState(kStateHot, true);
    return 0;
  }
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&) {
    ChangeState(kStateNormal, true);
    return 0;
  }
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
    ChangeState(kStatePressed, false);
    return 0;
  }
  LRESULT OnKeyDown(UINT, WPARAM wParam, LPARAM, BOOL&) {
    if (wParam == VK_RETURN && !disabled_) ReportClick(this->m_hWnd, false);
    return 0;
  }
  // EnableWindow shows the disabled look too, so owners can use either.
  LRESULT OnEnable(UINT, WPARAM wParam, LPARAM, BOOL&) {
    static_cast<T*>(this)->SetEnabled(wParam != FALSE);
    return 0;
  }
};
