// The preview: a child window of the main dialog that shows the phone's
// picture. While its owner keeps the refresh running it takes the stream
// worker's newest frame every 30 ms and, when it is new, draws it (the
// frame carries a copy at the preview's size, so drawing is a plain copy;
// the cameras' shared section is written by the conversion thread, not
// here); before the first
// frame it shows the idle picture ("res\default.png" beside the program)
// whose lower part links to the connection help. The last picture stays
// after the stream ends, because the worker keeps handing out its last
// frame.
//
// Ownership: the control owns its back buffer, the memory DCs and the idle
// picture; the worker, the current frame (the worker's) and the draw
// handler are borrowed and must outlive the window.
// Everything runs on the window thread.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "framework/gdi.h"
#include "framework/window.h"
#include "video/draw_handler.h"

class StreamWorker;
class VideoFrame;

class PlayerCtrl : public CWindowImpl<PlayerCtrl> {
 public:
  static constexpr UINT_PTR kRefreshTimerId = 1;
  static constexpr UINT kRefreshMs = 30;

  PlayerCtrl() = default;

  // Also tells the worker's frame buffer the size to make preview copies at.
  void SetWorker(StreamWorker* worker);
  void SetDrawHandler(IDrawHandler* handler) { drawHandler_ = handler; }
  void StartRefresh() { SetTimer(kRefreshTimerId, kRefreshMs); }
  void StopRefresh() { KillTimer(kRefreshTimerId); }
  // Loads "res\default.png" from the program folder as the idle picture;
  // on success, with `invalidate`, repaints the whole window.
  void LoadIdleImage(bool invalidate);

  BEGIN_MSG_MAP(PlayerCtrl)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
  END_MSG_MAP()

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
  // Paints the whole client area into the back buffer (picture, bars,
  // overlay); false when there is nothing to paint into.
  bool Compose(HDC reference, const RECT& client);
  // Tells the worker's frame buffer the client size.
  void ShareClientSize();
  // Keeps the back buffer at the client size, compatible with `paintDC`.
  void EnsureBackBuffer(HDC paintDC, int width, int height);

  StreamWorker* worker_ = nullptr;
  IDrawHandler* drawHandler_ = nullptr;
  const VideoFrame* currentFrame_ = nullptr;  // the worker's, valid until its next TakeNextFrame
  // The back buffer's bitmap is declared after its DC and is deselected by
  // backSelect_, which dies first.
  UniqueMemoryDC backDC_;
  UniqueMemoryDC scratchDC_;
  BitmapHandle backBitmap_;
  std::unique_ptr<SelectScope> backSelect_;
  BitmapHandle idleImage_;
  RECT linkRect_{};
};
