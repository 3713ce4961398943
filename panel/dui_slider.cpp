#include "panel/dui_slider.h"

#include <string>

#include "config/ui_font.h"

namespace {

constexpr int kSliderLeft = 50, kSliderRight = 270;
constexpr int kLabelWidth = 40;

HWND CreateLabel(HWND parent, const std::string& text, DWORD style, int x, int y, int width, int height,
                 int fontPixels) {
  HWND label = CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                               parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (label) SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetUiFont(fontPixels)), TRUE);
  return label;
}

}  // namespace

DUISlider::~DUISlider() {
  DestroyDetached();
}

void DUISlider::SetAttributes(std::unique_ptr<AttributeList> list) {
  DUIItem::SetAttributes(std::move(list));
  const AttributeList* attributes = this->attributes();
  if (!attributes) return;
  slider_.SetMinimum(attributes->GetInt("min", slider_.GetMinimum()));
  slider_.SetMaximum(attributes->GetInt("max", slider_.GetMaximum()));
  slider_.SetValue(attributes->GetInt("pos", slider_.GetValue()));
  ShowValue(slider_.GetValue());
  Repaint();
}

LRESULT DUISlider::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  RECT client{};
  GetClientRect(&client);
  const int height = client.bottom - client.top;
  backgroundBrush_ = BrushHandle(CreateSolidBrush(RGB(255, 255, 255)));
  slider_.Create(m_hWnd, RECT{kSliderLeft, client.top, kSliderRight, client.bottom});
  slider_.SetListener(this);
  nameLabel_ = CreateLabel(m_hWnd, name(), SS_LEFT, 0, client.top, kLabelWidth, height, 14);
  valueLabel_ =
      CreateLabel(m_hWnd, name(), SS_RIGHT, kSliderRight, client.top + 3, kLabelWidth, height - 6, 12);
  ShowValue(slider_.GetValue());
  return 0;
}

LRESULT DUISlider::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  HWND label = reinterpret_cast<HWND>(lParam);
  if (label == nameLabel_ || label == valueLabel_) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, label == nameLabel_ ? RGB(96, 96, 96) : RGB(143, 143, 143));
  }
  return reinterpret_cast<LRESULT>(backgroundBrush_.get());
}

void DUISlider::OnSliderPos(int value) {
  SendEvent("slider_pos", {{"pos", std::to_string(value)}});
  ShowValue(value);
}

void DUISlider::OnSliderEnd(int value) {
  SendEvent("slider_end", {{"pos", std::to_string(value)}});
  ShowValue(value);
}

void DUISlider::ShowValue(int value) {
  if (m_hWnd && valueLabel_) ::SetWindowTextA(valueLabel_, std::to_string(value).c_str());
}
