// The main window: a caption-less, round-cornered dialog that hosts every
// control of the program and runs the connection workflow: the device list
// from the scanner, connect and disconnect through the stream worker, and the
// preview that publishes the pictures for the cameras.
//
// Owners and shutdown: the dialog owns the scanner, the stream worker, the
// preview, the remote panel's manager and the configuration fetch.
// WM_DESTROY first stops the configuration fetch (its HTTP transfer is
// cancelled, so a server that never answers does not hold the window open),
// then the worker (its pumping join lets a stream thread inside a sent
// WM_LINK_COMMAND finish) and the scan pass while the window still exists, so
// no worker ever reaches a dead window; then the panel's sender is joined and
// its tree destroyed.
#pragma once
#include <windows.h>

#include <shellapi.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/connection_view.h"
#include "app/picture_options.h"
#include "app/tray_icon.h"
#include "app/url_opener.h"
#include "app/window_frame.h"
#include "config/core/app_messages.h"
#include "config/remote_config.h"
#include "config/update_download.h"
#include "framework/dialog.h"
#include "framework/gdi.h"
#include "framework/handles.h"
#include "framework/message_loop.h"
#include "framework/update_ui.h"
#include "link/core/device_info.h"
#include "link/device_scanner.h"
#include "panel/dui_manager.h"
#include "resources/resource.h"
#include "video/draw_handler.h"
#include "video/player_ctrl.h"
#include "video/stream_worker.h"
#include "widgets/combo_box.h"
#include "widgets/icon_button.h"
#include "widgets/image_button.h"
#include "widgets/loading_button.h"
#include "widgets/loading_wnd.h"
#include "widgets/widget_listeners.h"

class CMainDlg : public CDialogImpl<CMainDlg>,
                 public CUpdateUI<CMainDlg>,
                 public CMessageFilter,
                 public CIdleHandler,
                 public IDrawHandler,
                 public IComboBoxListener {
 public:
  enum { IDD = IDD_MAIN };
  static constexpr int kWidth = ConnectionView::kIdleWidth;
  static constexpr int kHeight = ConnectionView::kHeight;
  static constexpr COLORREF kFrameColor = RGB(0xAD, 0xAD, 0xAD);
  // Control ids: the commands of the buttons (Enter is 1, Escape is 2).
  enum ControlId {
    kConnectId = 1,
    kCloseId = 2,
    kRefreshId = 3,
    kModeId = 4,
    kMirrorHId = 5,
    kMinimizeId = 6,
    kSettingsId = 7,
    kMirrorVId = 8,
    kHelpLinkId = 9,
  };
  // One-shot timer that turns a burst of device-change reports into one scan.
  static constexpr UINT_PTR kDeviceChangeTimer = 1;
  static constexpr UINT kDeviceChangeDelayMs = 1000;
  static constexpr RECT kPreviewRect{1, 68, 728, 590};

  // Shows a text to the user: OK-only message box owned by the window in the
  // program; tests record instead.
  using UserMessage = std::function<void(const std::string& text, const std::string& caption)>;

  CMainDlg();
  ~CMainDlg() override;

  // Before Create: where user messages go (default: a message box).
  void SetUserMessage(UserMessage sink) { userMessage_ = std::move(sink); }
  // Before Create: how the configuration fetch asks about updates (default: message boxes).
  void SetUpdateUi(UpdateUi ui) { updateUi_ = std::move(ui); }
  // Before Create: how the help and settings dialogs open web pages (default: the shell).
  void SetUrlOpener(UrlOpener open) { openUrl_ = std::move(open); }

  BOOL PreTranslateMessage(MSG* msg) override;
  BOOL OnIdle() override { return FALSE; }
  // The preview's overlay: the three buttons drawn on top of the picture.
  void OnDraw(HDC target, HDC scratch) override;
  void OnSelChange(ComboBox*, const char*) override {}

  // Paints the whole client area (white, logo band, frame) into `dc`;
  // WM_PAINT calls it on its memory bitmap, tests on their own.
  void PaintClient(HDC dc, const RECT& client);

  // A balloon from the notification-area icon, which is added on first use.
  bool ShowTrayBalloon(const char* text, const char* title, DWORD infoFlags, UINT timeoutMs) {
    return tray_.ShowBalloon(text, title, infoFlags, timeoutMs);
  }

  // 1: hides every visible child and shows the busy overlay; 0: the reverse.
  void ShowLoading(bool show);
  // Creates the remote panel's root window (a child of this dialog) right of
  // the preview; it shows only while connected. False when the window could
  // not be made.
  bool AttachPanel(DUICtrl& root);
  // Starts a connection to the device selected in the device box.
  void ConnectSelected();
  // Device box text "reading", then a scan pass.
  void RefreshDevices();

  // For tests and the demo: what the user sees of the workflow.
  const ConnectionView& connection() const { return view_; }
  const LoadingButton& connectButton() const { return connectButton_; }
  const CIconButton& modeButton() const { return modeButton_; }
  ComboBox& deviceBox() { return deviceBox_; }
  HWND helpLink() const { return helpLinkButton_; }
  StreamWorker& worker() { return *worker_; }
  int refreshRequests() const { return refreshRequests_; }
  DUIManager& panel() { return *panel_; }
  RemoteConfigFetch& remoteConfig() { return *remoteConfig_; }

  BEGIN_MSG_MAP(CMainDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_STREAM_CONNECTED, OnStreamConnected)
    MESSAGE_HANDLER(WM_STREAM_DISCONNECTED, OnStreamDisconnected)
    MESSAGE_HANDLER(WM_STREAM_CONNECT_FAILED, OnStreamConnectFailed)
    MESSAGE_HANDLER(WM_DEVICECHANGE, OnDeviceChange)
    MESSAGE_HANDLER(WM_DEVICE_LIST, OnDeviceList)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_LINK_COMMAND, OnLinkCommand)
    MESSAGE_HANDLER(WM_HELP_IMAGE_UPDATED, OnHelpImageUpdated)
    MESSAGE_HANDLER(WM_START_UPDATE_DOWNLOAD, OnStartUpdateDownload)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    COMMAND_ID_HANDLER(kConnectId, OnConnect)
    COMMAND_ID_HANDLER(kCloseId, OnClose)
    COMMAND_ID_HANDLER(kRefreshId, OnRefresh)
    COMMAND_ID_HANDLER(kMinimizeId, OnMinimize)
    COMMAND_ID_HANDLER(kModeId, OnMode)
    COMMAND_ID_HANDLER(kMirrorHId, OnMirrorHorizontally)
    COMMAND_ID_HANDLER(kMirrorVId, OnFlipVertically)
    COMMAND_ID_HANDLER(kSettingsId, OnSettings)
    COMMAND_ID_HANDLER(kHelpLinkId, OnHelpLink)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnStreamConnected(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnStreamDisconnected(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnStreamConnectFailed(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDeviceChange(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDeviceList(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLinkCommand(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnHelpImageUpdated(UINT, WPARAM, LPARAM, BOOL&) {
    preview_.LoadIdleImage(true);
    return 0;
  }
  // The fetch's copy of the installer address is ours to free. One download
  // at a time; the offer's hash and signature are the ones the fetch has just
  // stored (it waits in SendMessage meanwhile). The download window is a
  // child of this one: its WM_DESTROY stops the download at shutdown.
  LRESULT OnStartUpdateDownload(UINT, WPARAM, LPARAM lParam, BOOL&) {
    std::unique_ptr<char, void (*)(void*)> url(reinterpret_cast<char*>(lParam), std::free);
    if (update_ && update_->IsRunning()) return 0;
    update_ = std::make_unique<CDownloadUpdate>(DefaultUpdateDownloadUi(
        [this](const char* text) { ShowTrayBalloon(text, "软件更新", NIIF_INFO, 10000); }));
    update_->StartUpdateDownload(m_hWnd, CurrentUpdateOffer(url.get()));
    return 0;
  }
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&) {
    frame_.OnSize();
    return 0;
  }
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    handled = frame_.OnLButtonDown(lParam);
    return 0;
  }
  LRESULT OnConnect(WORD, WORD, HWND, BOOL&);
  LRESULT OnClose(WORD, WORD, HWND, BOOL&);
  LRESULT OnRefresh(WORD, WORD, HWND, BOOL&);
  LRESULT OnMinimize(WORD, WORD, HWND, BOOL&) {
    frame_.Minimize();
    return 0;
  }
  LRESULT OnMode(WORD, WORD, HWND, BOOL&) {
    Tell(options_.TogglePortrait(), "提示");
    return 0;
  }
  LRESULT OnMirrorHorizontally(WORD, WORD, HWND, BOOL&) {
    options_.ToggleMirrorHorizontally();
    return 0;
  }
  LRESULT OnFlipVertically(WORD, WORD, HWND, BOOL&) {
    options_.ToggleFlipVertically();
    return 0;
  }

  // The modal dialogs: their loops keep delivering the messages that workers
  // send to this thread (WM_LINK_COMMAND, WM_DEVICE_LIST), so no worker waits for them.
  LRESULT OnSettings(WORD, WORD, HWND, BOOL&);
  LRESULT OnHelpLink(WORD, WORD, HWND, BOOL&) {
    ShowHelp();
    return 0;
  }
  void ShowHelp();

  void LoadIcons();
  void CreateControls();        // main_dlg_controls.cpp
  void CreateOverlayButtons();  // main_dlg_controls.cpp
  void Tell(const std::string& text, const std::string& caption);

  UserMessage userMessage_;
  DeviceScanner scanner_;
  std::unique_ptr<StreamWorker> worker_;
  DeviceInfo selectedDevice_;
  int refreshCount_ = 0;     // manual refreshes since the last non-empty list
  int refreshRequests_ = 0;  // every RefreshDevices, manual or automatic
  std::unique_ptr<DUIManager> panel_;
  UpdateUi updateUi_ = MessageBoxUpdateUi();
  UrlOpener openUrl_ = ShellUrlOpener();
  std::unique_ptr<RemoteConfigFetch> remoteConfig_;
  std::unique_ptr<CDownloadUpdate> update_;  // the update download, once one was accepted

  // PNG 224 with its transparency kept, blended at (1, 1).
  BitmapHandle headerBitmap_;
  UniqueIcon bigIcon_;
  UniqueIcon smallIcon_;
  UniqueIcon trayIcon_;
  WindowFrame frame_;
  TrayIcon tray_;
  ConnectionView view_;

  ImageButton closeButton_;
  ImageButton minimizeButton_;
  ImageButton settingsButton_;
  LoadingButton connectButton_;
  ComboBox deviceBox_;
  CIconButton refreshButton_;
  CIconButton helpLinkButton_;
  CIconButton modeButton_;
  CIconButton mirrorHButton_;
  CIconButton mirrorVButton_;
  PictureOptions options_{*worker_, modeButton_};
  PlayerCtrl preview_;
  LoadingWnd loading_;
  std::vector<HWND> hiddenChildren_;
};

// The one main dialog of the process (null before construction and after destruction).
extern CMainDlg* MainDialog;
