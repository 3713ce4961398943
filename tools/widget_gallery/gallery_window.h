// One window that shows every toolkit control in each of its states.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/window.h"
#include "widgets/combo_box.h"
#include "widgets/icon_button.h"
#include "widgets/image_button.h"
#include "widgets/loading_button.h"
#include "widgets/loading_wnd.h"
#include "widgets/mini_scroll_bar.h"
#include "widgets/slider.h"

// A dark stand-in for the video preview that paints the overlay buttons on
// top of itself, as the preview does in the program.
class PreviewStandIn : public CWindowImpl<PreviewStandIn> {
 public:
  BEGIN_MSG_MAP(PreviewStandIn)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
  END_MSG_MAP()
  std::vector<CIconButton*> overlays;

 private:
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
};

class GalleryWindow : public CWindowImpl<GalleryWindow> {
 public:
  static constexpr int kWidth = 1000;
  static constexpr int kHeight = 700;

  BEGIN_MSG_MAP(GalleryWindow)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
  END_MSG_MAP()

  // Puts every control into the state its caption names. Call once the
  // window exists; the pointer is moved away so no control sees it.
  void ShowStates();
  // The screen rectangle that the screenshot covers (the window and the open list).
  RECT ScreenshotArea() const;
  // Prints the average time of one paint of each kind of control (the
  // paint functions on a memory DC, as WM_PAINT runs them).
  void PrintPaintTimes(int rounds);

 private:
  struct Caption {
    int x, y;
    std::string text;
  };
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  void AddCaption(int x, int y, const std::string& text) { captions_.push_back({x, y, text}); }
  void CreateImageButtons(int top);
  void CreateLoadingButtons(int top);
  void CreateIconButtons(int top);
  void CreateOverlayButtons(int top);
  void CreateCombos(int top);
  void CreateSliders(int left, int top);
  void CreateScrollBars(int left, int top);

  std::vector<Caption> captions_;
  std::vector<std::unique_ptr<ImageButton>> imageButtons_;
  std::vector<std::unique_ptr<LoadingButton>> loadingButtons_;
  std::vector<std::unique_ptr<CIconButton>> iconButtons_;
  std::vector<std::unique_ptr<CIconButton>> overlayButtons_;
  PreviewStandIn preview_;
  ComboBox closedCombo_, openCombo_, hotCombo_;
  std::vector<std::unique_ptr<Slider>> sliders_;
  std::vector<std::unique_ptr<MiniScrollBar>> scrollBars_;
  LoadingWnd loading_;
};
