// The busy overlay over the main dialog while the first device list is
// read: one line of text and a close button that acts as the dialog's own.
#pragma once
#include <windows.h>

#include "widgets/buffered_paint_window.h"
#include "widgets/image_button.h"

class LoadingWnd : public BufferedPaintWindow<LoadingWnd> {
 public:
  // The close button's id, forwarded to the parent as its close command.
  static constexpr UINT kCloseId = 2;

  BEGIN_MSG_MAP(LoadingWnd)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    COMMAND_ID_HANDLER(kCloseId, OnClose)
    CHAIN_MSG_MAP(BufferedPaintWindow<LoadingWnd>)
  END_MSG_MAP()

  // Paints the whole client onto `dc`.
  void PaintTo(HDC dc);
  ImageButton& CloseButton() { return closeButton_; }

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnClose(WORD, WORD, HWND, BOOL&);

  ImageButton closeButton_;
};
