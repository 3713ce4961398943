// The main window's controls, created in code at their places of the 730-wide
// layout, and the busy overlay that hides them until the first device list.
#include "app/device_list.h"
#include "app/main_dlg.h"

#include "panel/dui_ctrl.h"
#include "resources/picture_ids.h"
#include "widgets/image_helpers.h"

namespace {

constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE;
constexpr int kFontSize = 12;
constexpr int kIconGap = 6;

// Text colours of the buttons below the preview and of those drawn on it:
// normal, hot, pressed, disabled.
constexpr COLORREF kBarColors[4] = {RGB(0x72, 0x72, 0x72), RGB(0xE7, 0x59, 0x88), RGB(0xD5, 0x52, 0x7D),
                                    RGB(0x72, 0x72, 0x72)};
constexpr COLORREF kOverlayColors[4] = {RGB(255, 255, 255), RGB(0xFA, 0x6C, 0x9C), RGB(0xD6, 0x52, 0x7E),
                                        RGB(255, 255, 255)};

void StyleIconButton(CIconButton& button, const char* text, const COLORREF (&colors)[4]) {
  button.SetText(text);
  button.SetFontSize(kFontSize);
  button.SetTextColors(colors[0], colors[1], colors[2], colors[3]);
}

}  // namespace

void CMainDlg::CreateControls() {
  closeButton_.Create(m_hWnd, RECT{685, 8, 719, 42}, nullptr, kChildStyle, 0, kCloseId);
  closeButton_.SetImages(IDB_CLOSE_NORMAL, IDB_CLOSE_HOT, IDB_CLOSE_PRESSED, IDB_CLOSE_NORMAL);
  minimizeButton_.Create(m_hWnd, RECT{645, 8, 679, 42}, nullptr, kChildStyle, 0, kMinimizeId);
  minimizeButton_.SetImages(IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_HOT, IDB_MINIMIZE_PRESSED, IDB_MINIMIZE_NORMAL);
  settingsButton_.Create(m_hWnd, RECT{605, 8, 639, 42}, nullptr, kChildStyle, 0, kSettingsId);
  settingsButton_.SetImages(IDB_SETTINGS_NORMAL, IDB_SETTINGS_HOT, IDB_SETTINGS_PRESSED, IDB_SETTINGS_NORMAL);
  frame_.SetTitleButtons(closeButton_, minimizeButton_, settingsButton_);

  connectButton_.Create(m_hWnd, RECT{622, 602, 718, 638}, nullptr, kChildStyle, 0, kConnectId);

  deviceBox_.Create(m_hWnd, RECT{16, 602, 360, 638});
  deviceBox_.SetText(kNoDeviceText);
  deviceBox_.SetListener(this);

  refreshButton_.Create(m_hWnd, RECT{376, 602, 456, 638}, nullptr, kChildStyle, 0, kRefreshId);
  StyleIconButton(refreshButton_, "更新设备", kBarColors);
  refreshButton_.SetIconGap(kIconGap);
  refreshButton_.SetImages(IDB_REFRESH_NORMAL, IDB_REFRESH_HOT, IDB_REFRESH_PRESSED, IDB_REFRESH_NORMAL);

  helpLinkButton_.Create(m_hWnd, RECT{462, 602, 542, 638}, nullptr, kChildStyle, 0, kHelpLinkId);
  StyleIconButton(helpLinkButton_, "未检测到设备？", kBarColors);
  helpLinkButton_.ShowWindow(SW_HIDE);

  CreateOverlayButtons();
  view_.Attach(ConnectionControls{m_hWnd,
                                  &connectButton_,
                                  &deviceBox_,
                                  &refreshButton_,
                                  {&mirrorVButton_, &mirrorHButton_, &modeButton_}});
  view_.Show(ConnectionState::kIdle);

  preview_.Create(m_hWnd, kPreviewRect);
  preview_.SetDrawHandler(this);
  for (CIconButton* overlay : {&modeButton_, &mirrorHButton_, &mirrorVButton_}) {
    overlay->SetParentDrawn(true, preview_);
    overlay->ShowWindow(SW_HIDE);
  }
  loading_.Create(m_hWnd, RECT{2, 2, 727, 645});
  loading_.ShowWindow(SW_HIDE);
}

// Created before the preview, so they lie above it and take its clicks.
void CMainDlg::CreateOverlayButtons() {
  const struct {
    CIconButton* button;
    int id;
    RECT rect;
    const char* text;
    int icons[3];
  } overlays[] = {
      {&modeButton_,
       kModeId,
       {636, 552, 726, 574},
       "竖屏模式",
       {IDB_MODE_PORTRAIT_NORMAL, IDB_MODE_PORTRAIT_HOT, IDB_MODE_PORTRAIT_PRESSED}},
      {&mirrorHButton_,
       kMirrorHId,
       {130, 552, 220, 574},
       "水平翻转",
       {IDB_FLIP_HORIZONTAL_NORMAL, IDB_FLIP_HORIZONTAL_HOT, IDB_FLIP_HORIZONTAL_PRESSED}},
      {&mirrorVButton_,
       kMirrorVId,
       {16, 552, 106, 574},
       "垂直翻转",
       {IDB_FLIP_VERTICAL_NORMAL, IDB_FLIP_VERTICAL_HOT, IDB_FLIP_VERTICAL_PRESSED}},
  };
  for (const auto& overlay : overlays) {
    overlay.button->Create(m_hWnd, overlay.rect, nullptr, kChildStyle, 0, overlay.id);
    StyleIconButton(*overlay.button, overlay.text, kOverlayColors);
    overlay.button->SetIconGap(kIconGap);
    overlay.button->SetImages(overlay.icons[0], overlay.icons[1], overlay.icons[2], overlay.icons[0]);
  }
}

void CMainDlg::OnDraw(HDC target, HDC scratch) {
  // The labels lie on the picture, not on a box of the text's background.
  ::SetBkMode(target, TRANSPARENT);
  for (CIconButton* overlay : {&mirrorVButton_, &mirrorHButton_, &modeButton_})
    if (overlay->IsWindowVisible()) overlay->Draw(target, scratch);
}

void CMainDlg::ShowLoading(bool show) {
  if (show) {
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      if (child == loading_.m_hWnd || !(::GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE)) continue;
      ::ShowWindow(child, SW_HIDE);
      hiddenChildren_.push_back(child);
    }
    loading_.ShowWindow(SW_SHOW);
    return;
  }
  for (HWND child : hiddenChildren_) ::ShowWindow(child, SW_SHOW);
  hiddenChildren_.clear();
  loading_.ShowWindow(SW_HIDE);
}

bool CMainDlg::AttachPanel(DUICtrl& root) {
  RECT client;
  GetClientRect(&client);
  // The panel shows only while connected: its right edge is the connected
  // width's whatever the width now, since its children are laid out once, at creation.
  const RECT rc{kPreviewRect.right, kPreviewRect.top, ConnectionView::kConnectedWidth - 2, client.bottom - 8};
  HWND panel = root.Create(m_hWnd, rc);
  if (!panel) return false;
  ::ShowWindow(panel, view_.state() == ConnectionState::kConnected ? SW_SHOW : SW_HIDE);
  view_.SetPanel(panel);
  return true;
}
