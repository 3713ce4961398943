// The settings window: the program's mark, name and tagline, its version, the
// manual update check and the phone app's download page. A caption-less,
// round-cornered modal dialog drawn in code; the close button, Escape and
// Alt+F4 end it.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "app/url_opener.h"
#include "framework/dialog.h"
#include "framework/gdi.h"
#include "resources/resource.h"
#include "widgets/icon_button.h"
#include "widgets/image_button.h"

class Setting : public CDialogImpl<Setting> {
 public:
  enum { IDD = IDD_SETTING };
  enum ControlId { kCloseId = 2, kCheckId = 3, kDownloadId = 4 };
  static constexpr int kWidth = 460;
  static constexpr int kHeight = 330;
  static constexpr int kIconSize = 68;
  static constexpr int kIconTop = 72;
  static constexpr COLORREF kVersionColor = 0x979799;
  static constexpr COLORREF kFrameColor = 0xE0E0E0;

  // `checkForUpdate` starts a manual update check; its answer comes from the
  // configuration fetch, not from this dialog.
  Setting(std::function<void()> checkForUpdate, UrlOpener open = ShellUrlOpener())
      : checkForUpdate_(std::move(checkForUpdate)), open_(std::move(open)) {}

  const std::string& versionLine() const { return versionLine_; }
  const CIconButton& downloadButton() const { return downloadButton_; }
  // Paints the whole client area into `dc`; WM_PAINT calls it on its memory bitmap.
  void PaintClient(HDC dc, const RECT& client);

  BEGIN_MSG_MAP(Setting)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    COMMAND_ID_HANDLER(kCloseId, OnClose)
    COMMAND_ID_HANDLER(kCheckId, OnCheck)
    COMMAND_ID_HANDLER(kDownloadId, OnDownload)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnClose(WORD, WORD, HWND, BOOL&) {
    EndDialog(0);
    return 0;
  }
  LRESULT OnCheck(WORD, WORD, HWND, BOOL&) {
    if (checkForUpdate_) checkForUpdate_();
    return 0;
  }
  LRESULT OnDownload(WORD, WORD, HWND, BOOL&);
  void CreateButtons(const RECT& client);

  std::function<void()> checkForUpdate_;
  UrlOpener open_;
  ImageButton closeButton_;
  CIconButton checkButton_;
  CIconButton downloadButton_;
  BitmapHandle titleBitmap_;
  BitmapHandle subtitleBitmap_;
  BitmapHandle iconBitmap_;
  RECT iconRect_{};
  std::string versionLine_;
};
