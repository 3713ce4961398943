#include "app/main_dlg.h"

#include <dbt.h>

#include <algorithm>

#include "app/camera_registration.h"
#include "app/configured_texts.h"
#include "app/device_list.h"
#include "app/help_dlg.h"
#include "app/setting_dlg.h"
#include "config/core/app_globals.h"
#include "resources/picture_ids.h"
#include "widgets/button_support.h"
#include "widgets/image_helpers.h"

CMainDlg* MainDialog = nullptr;

namespace {
// The main loop's exit code after a normal close.
constexpr int kCloseExitCode = 2;
constexpr int kCornerSize = 4;
constexpr const char* kStreamHost = "127.0.0.1";
constexpr uint16_t kStreamPort = 8984;
}  // namespace

CMainDlg::CMainDlg() : worker_(std::make_unique<StreamWorker>()) {
  MainDialog = this;
}

CMainDlg::~CMainDlg() {
  if (MainDialog == this) MainDialog = nullptr;
}

BOOL CMainDlg::PreTranslateMessage(MSG* msg) {
  return ::IsDialogMessageA(m_hWnd, msg);
}

void CMainDlg::Tell(const std::string& text, const std::string& caption) {
  if (userMessage_)
    userMessage_(text, caption);
  else
    ::MessageBoxA(m_hWnd, text.c_str(), caption.c_str(), MB_OK);
}

LRESULT CMainDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  // The template has a caption (for the title and the taskbar); the window shows none.
  ModifyStyle(WS_CAPTION, 0);
  SetWindowPos(nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  frame_.Attach(m_hWnd);
  frame_.OnSize();
  SetRoundedRegion(m_hWnd, kWidth, kHeight);
  CenterWindow(m_hWnd);
  ModifyStyle(0, WS_CLIPCHILDREN);
  LoadIcons();
  headerBitmap_ = LoadPngAsHBitmap(IDB_LOGO_BAND, 0);

  if (CMessageLoop* loop = AppModule().GetMessageLoop()) {
    loop->AddMessageFilter(this);
    loop->AddIdleHandler(this);
  }
  UIAddChildWindowContainer(m_hWnd);

  LoadConfiguredTexts();
  scanner_.SetOwner(m_hWnd);
  scanner_.Start();
  CreateControls();
  worker_->SetEndpoint(kStreamHost, kStreamPort);
  worker_->SetNotifyWindow(m_hWnd);
  preview_.SetWorker(worker_.get());
  ShowLoading(true);
  RegisterCameraModules(ProgramFolder, [this](const std::string& text) { Tell(text, ""); });
  panel_ = std::make_unique<DUIManager>([this](DUICtrl& root) { return AttachPanel(root); });
  remoteConfig_ = std::make_unique<RemoteConfigFetch>(m_hWnd, updateUi_);
  remoteConfig_->StartRemoteConfigFetch(false);
  return TRUE;
}

void CMainDlg::LoadIcons() {
  HINSTANCE inst = AppModule().GetResourceInstance();
  auto load = [inst](int cx, int cy) {
    return static_cast<HICON>(::LoadImageA(inst, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, cx, cy, 0));
  };
  bigIcon_.reset(load(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)));
  smallIcon_.reset(load(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)));
  trayIcon_.reset(load(16, 16));
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  tray_.SetWindow(m_hWnd, trayIcon_.get());
}

void CMainDlg::PaintClient(HDC dc, const RECT& client) {
  FillSolid(dc, client, RGB(255, 255, 255));
  if (headerBitmap_) {
    MemoryDC scratch(dc, 1, 1);
    BlendBitmapAt(dc, scratch.get(), headerBitmap_.get(), 1, 1, 255);
  }
  // A one-pixel grey frame along the rounded outline of the window region.
  RegionHandle outline(::CreateRoundRectRgn(client.left, client.top, client.right + 1, client.bottom + 1,
                                            kCornerSize, kCornerSize));
  BrushHandle frame(::CreateSolidBrush(kFrameColor));
  ::FrameRgn(dc, outline.get(), frame.get(), 1, 1);
}

LRESULT CMainDlg::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  DoubleBufferedPaint paint(m_hWnd);
  PaintClient(paint.dc(), paint.client());
  return 0;
}

// While the window still exists: no worker may send to it afterwards. The
// worker's stop is a pumping join, so a stream thread inside a sent
// WM_LINK_COMMAND completes; the scan pass is stopped the same way.
LRESULT CMainDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (remoteConfig_) remoteConfig_->Stop();
  KillTimer(kDeviceChangeTimer);
  if (preview_.IsWindow()) preview_.StopRefresh();
  worker_->Stop();
  worker_->SetNotifyWindow(nullptr);
  scanner_.Stop();
  panel_.reset();  // no link any more: the sender ends at once
  tray_.Remove();  // while the window the shell knows the icon by still exists
  if (CMessageLoop* loop = AppModule().GetMessageLoop()) {
    loop->RemoveMessageFilter(this);
    loop->RemoveIdleHandler(this);
  }
  handled = FALSE;
  return 0;
}

LRESULT CMainDlg::OnStreamConnected(UINT, WPARAM, LPARAM, BOOL&) {
  view_.Show(ConnectionState::kConnected);
  preview_.StartRefresh();
  return 0;
}

LRESULT CMainDlg::OnStreamDisconnected(UINT, WPARAM, LPARAM, BOOL&) {
  view_.Show(ConnectionState::kIdle);
  preview_.StopRefresh();
  return 0;
}

LRESULT CMainDlg::OnStreamConnectFailed(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  OnStreamDisconnected(msg, wParam, lParam, handled);
  Tell(worker_->GetErrorText(), "同步失败");
  return 0;
}

LRESULT CMainDlg::OnDeviceChange(UINT, WPARAM wParam, LPARAM, BOOL&) {
  if (wParam == DBT_DEVNODES_CHANGED) {
    KillTimer(kDeviceChangeTimer);
    SetTimer(kDeviceChangeTimer, kDeviceChangeDelayMs);
  }
  return 0;
}

LRESULT CMainDlg::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if (wParam != kDeviceChangeTimer) {
    handled = FALSE;
    return 0;
  }
  KillTimer(kDeviceChangeTimer);
  RefreshDevices();
  return 0;
}

// Sent by the scan pass, which waits: the list is re-read, not kept.
LRESULT CMainDlg::OnDeviceList(UINT, WPARAM, LPARAM, BOOL&) {
  const bool empty = ShowDeviceList(deviceBox_, scanner_.GetDevices(), selectedDevice_.id);
  helpLinkButton_.ShowWindow(empty ? SW_SHOW : SW_HIDE);
  const bool showHelp = empty && refreshCount_ >= 3;
  if (!empty || showHelp) refreshCount_ = 0;
  if (!hiddenChildren_.empty() || loading_.IsWindowVisible()) {
    // The help link's own visibility decides, not what it was under the overlay.
    hiddenChildren_.erase(std::remove(hiddenChildren_.begin(), hiddenChildren_.end(), helpLinkButton_.m_hWnd),
                          hiddenChildren_.end());
    ShowLoading(false);
  }
  // Posted, as the help link's command: the scan pass waiting in this sent
  // message is released before the modal dialog runs.
  if (showHelp) PostMessage(WM_COMMAND, kHelpLinkId);
  return 0;
}

void CMainDlg::ShowHelp() {
  HelpDlg help(openUrl_);
  help.DoModal(m_hWnd);
}

LRESULT CMainDlg::OnSettings(WORD, WORD, HWND, BOOL&) {
  Setting settings([this] { remoteConfig_->StartRemoteConfigFetch(true); }, openUrl_);
  settings.DoModal(::GetActiveWindow());
  return 0;
}

// Sent by the stream thread, which waits: the text is only valid during the
// call, and the panel's tree changes here on the window thread.
LRESULT CMainDlg::OnLinkCommand(UINT, WPARAM, LPARAM lParam, BOOL&) {
  if (lParam && panel_) panel_->Execute(reinterpret_cast<const char*>(lParam));
  return 0;
}

LRESULT CMainDlg::OnConnect(WORD, WORD, HWND, BOOL&) {
  if (worker_->IsRunning()) {
    worker_->Stop();
    view_.ShowIdleButton();
  } else {
    ConnectSelected();
  }
  return 0;
}

void CMainDlg::ConnectSelected() {
  std::optional<DeviceInfo> device = DeviceAt(deviceBox_.GetCurSel(), scanner_.GetDevices());
  if (!device) {
    Tell("无可用设备，请刷新设备列表", "无可用设备");
    view_.Show(ConnectionState::kIdle);
    return;
  }
  selectedDevice_ = *device;
  view_.Show(ConnectionState::kConnecting);
  worker_->Start(&selectedDevice_);
}

void CMainDlg::RefreshDevices() {
  ++refreshRequests_;
  deviceBox_.SetText(kReadingDevicesText);
  scanner_.Start();
}

LRESULT CMainDlg::OnRefresh(WORD, WORD, HWND, BOOL&) {
  RefreshDevices();
  ++refreshCount_;
  return 0;
}

// The close button, Escape and Alt+F4 all arrive as command 2.
LRESULT CMainDlg::OnClose(WORD, WORD, HWND, BOOL&) {
  DestroyWindow();
  ::PostQuitMessage(kCloseExitCode);
  return 0;
}
