#include "tools/widget_gallery/gallery_window.h"

#include <cstdio>
#include <functional>

#include "config/ui_font.h"
#include "framework/gdi.h"
#include "framework/text.h"
#include "resources/picture_ids.h"
#include "widgets/image_helpers.h"

namespace {
const char* const kStateNames[] = {"normal", "hot", "pressed", "disabled"};
constexpr COLORREF kCaptionColor = RGB(0x72, 0x72, 0x72);
constexpr COLORREF kPreviewColor = RGB(0x30, 0x30, 0x36);

// Drives a button into one of the four looks with the messages a user's
// pointer would produce, finishing any fade at once.
template <class Button>
void ApplyState(Button& button, int look) {
  if (look == 1) button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  if (look == 2) button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  if (look == 3) button.SetEnabled(false);
  for (int tick = 0; tick < 6; ++tick) button.SendMessage(WM_TIMER, 1);
}
}  // namespace

LRESULT PreviewStandIn::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  DoubleBufferedPaint paint(m_hWnd);
  FillSolid(paint.dc(), paint.client(), kPreviewColor);
  SetBkMode(paint.dc(), TRANSPARENT);
  MemoryDC scratch(paint.dc(), 1, 1);
  for (CIconButton* button : overlays) button->Draw(paint.dc(), scratch.get());
  return 0;
}

LRESULT GalleryWindow::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  CreateImageButtons(44);
  CreateLoadingButtons(124);
  CreateIconButtons(200);
  CreateOverlayButtons(272);
  CreateCombos(372);
  CreateSliders(400, 372);
  CreateScrollBars(745, 372);
  AddCaption(400, 566, "LoadingWnd");
  loading_.Create(m_hWnd, RECT{400, 586, 760, 686});
  return 0;
}

void GalleryWindow::CreateImageButtons(int top) {
  AddCaption(16, top - 22, "ImageButton (close, minimise, settings): normal, hot, pressed, disabled");
  const int faces[3][4] = {
      {IDB_CLOSE_NORMAL, IDB_CLOSE_HOT, IDB_CLOSE_PRESSED, IDB_CLOSE_NORMAL},
      {IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_HOT, IDB_MINIMIZE_PRESSED, IDB_MINIMIZE_NORMAL},
      {IDB_SETTINGS_NORMAL, IDB_SETTINGS_HOT, IDB_SETTINGS_PRESSED, IDB_SETTINGS_NORMAL}};
  for (int kind = 0; kind < 3; ++kind) {
    for (int look = 0; look < 4; ++look) {
      auto button = std::make_unique<ImageButton>();
      int x = 16 + kind * 220 + look * 48;
      button->Create(m_hWnd, RECT{x, top, x + 34, top + 34}, nullptr, WS_CHILD | WS_VISIBLE, 0, 100);
      button->SetImages(faces[kind][0], faces[kind][1], faces[kind][2], faces[kind][3]);
      imageButtons_.push_back(std::move(button));
    }
  }
}

void GalleryWindow::CreateLoadingButtons(int top) {
  AddCaption(16, top - 22,
             "LoadingButton: connect normal, hot, pressed, connecting (disabled, spinning); disconnect "
             "normal, hot, pressed");
  struct Face {
    int images[3];
    int icon;
    const char* text;
    int width;
    COLORREF color;
  };
  const Face connect{{IDB_CONNECT_NORMAL, IDB_CONNECT_HOT, IDB_CONNECT_PRESSED},
                     IDB_CONNECT_ICON,
                     "马上连接",
                     96,
                     RGB(255, 255, 255)};
  const Face connecting{{IDB_CONNECT_NORMAL, IDB_CONNECT_HOT, IDB_CONNECT_PRESSED},
                        IDB_CONNECT_SPINNER,
                        "正在连接",
                        96,
                        RGB(255, 255, 255)};
  const Face disconnect{{IDB_DISCONNECT_NORMAL, IDB_DISCONNECT_HOT, IDB_DISCONNECT_PRESSED},
                        IDB_DISCONNECT_ICON,
                        "断开连接",
                        95,
                        RGB(0x59, 0x59, 0x59)};
  const struct {
    const Face* face;
    int look;
  } buttons[] = {{&connect, 0},    {&connect, 1},    {&connect, 2},   {&connecting, 0},
                 {&disconnect, 0}, {&disconnect, 1}, {&disconnect, 2}};
  int x = 16;
  for (const auto& entry : buttons) {
    auto button = std::make_unique<LoadingButton>();
    const Face& face = *entry.face;
    button->Create(m_hWnd, RECT{x, top, x + face.width, top + 36}, nullptr, WS_CHILD | WS_VISIBLE, 0, 101);
    button->SetImages(face.images[0], face.images[1], face.images[2], face.images[0]);
    bool spinning = &face == &connecting;
    button->SetSpinner(GpImagePtr(LoadPngResource(face.icon).release()), spinning);
    button->SetText(face.text);
    button->SetTextColor(face.color);
    loadingButtons_.push_back(std::move(button));
    x += face.width + 24;
  }
}

void GalleryWindow::CreateIconButtons(int top) {
  AddCaption(16, top - 22, "CIconButton: refresh normal, hot, pressed, disabled; help link normal, hot");
  for (int look = 0; look < 6; ++look) {
    auto button = std::make_unique<CIconButton>();
    int x = 16 + look * 100;
    button->Create(m_hWnd, RECT{x, top, x + (look < 4 ? 80 : 96), top + 36}, nullptr, WS_CHILD | WS_VISIBLE,
                   0, 102);
    button->SetFontSize(12);
    // The main window's colours: COLORREF 0x727272, 0x8859E7, 0x7D52D5, 0x727272.
    button->SetTextColors(RGB(0x72, 0x72, 0x72), RGB(0xE7, 0x59, 0x88), RGB(0xD5, 0x52, 0x7D),
                          RGB(0x72, 0x72, 0x72));
    if (look < 4) {
      button->SetText("更新设备");
      button->SetIconGap(6);
      button->SetImages(IDB_REFRESH_NORMAL, IDB_REFRESH_HOT, IDB_REFRESH_PRESSED, IDB_REFRESH_NORMAL);
    } else {
      button->SetText("未检测到设备？");
    }
    iconButtons_.push_back(std::move(button));
  }
}

void GalleryWindow::CreateOverlayButtons(int top) {
  AddCaption(16, top - 22, "CIconButton drawn by the preview (parent-drawn): normal, hot, pressed");
  preview_.Create(m_hWnd, RECT{16, top, 984, top + 60});
  const struct {
    const char* text;
    int images[3];
  } kinds[] = {
      {"垂直翻转", {IDB_FLIP_VERTICAL_NORMAL, IDB_FLIP_VERTICAL_HOT, IDB_FLIP_VERTICAL_PRESSED}},
      {"水平翻转", {IDB_FLIP_HORIZONTAL_NORMAL, IDB_FLIP_HORIZONTAL_HOT, IDB_FLIP_HORIZONTAL_PRESSED}},
      {"竖屏模式", {IDB_MODE_PORTRAIT_NORMAL, IDB_MODE_PORTRAIT_HOT, IDB_MODE_PORTRAIT_PRESSED}},
  };
  int x = 16;
  for (const auto& kind : kinds) {
    for (int look = 0; look < 3; ++look) {
      auto button = std::make_unique<CIconButton>();
      button->Create(preview_, RECT{x, 19, x + 90, 41}, nullptr, WS_CHILD | WS_VISIBLE, 0, 103);
      button->SetText(kind.text);
      button->SetFontSize(12);
      button->SetIconGap(6);
      button->SetTextColors(RGB(255, 255, 255), RGB(0xFA, 0x6C, 0x9C), RGB(0xD6, 0x52, 0x7E),
                            RGB(255, 255, 255));
      button->SetImages(kind.images[0], kind.images[1], kind.images[2], kind.images[0]);
      button->SetParentDrawn(true, preview_);
      preview_.overlays.push_back(button.get());
      overlayButtons_.push_back(std::move(button));
      x += 106;
    }
  }
}

void GalleryWindow::CreateCombos(int top) {
  AddCaption(16, top - 22, "ComboBox: open (row 2 hot); closed; arrow hot");
  openCombo_.Create(m_hWnd, RECT{16, top, 360, top + 36});
  for (const char* name : {"Pixel 7 (Android)", "iPhone 13 (iOS)", "Galaxy S22 (Android)"})
    openCombo_.AddString(name);
  openCombo_.SetCurSel(0);
  closedCombo_.Create(m_hWnd, RECT{16, top + 36 + 138 + 16, 360, top + 36 + 138 + 52});
  closedCombo_.SetText("未检测到设备");
  hotCombo_.Create(m_hWnd, RECT{16, top + 36 + 138 + 62, 360, top + 36 + 138 + 98});
  hotCombo_.SetText("Pixel 7 (Android)");
}

void GalleryWindow::CreateSliders(int left, int top) {
  AddCaption(left, top - 22, "Slider: 0..100 at 30; -100..100 at 0, -50, 80");
  const struct { int minimum, value; } settings[] = {{0, 30}, {-100, 0}, {-100, -50}, {-100, 80}};
  int y = top;
  for (const auto& s : settings) {
    auto slider = std::make_unique<Slider>();
    slider->Create(m_hWnd, RECT{left, y, left + 300, y + 24});
    slider->SetMinimum(s.minimum);
    slider->SetValue(s.value);
    sliders_.push_back(std::move(slider));
    y += 40;
  }
}

void GalleryWindow::CreateScrollBars(int left, int top) {
  AddCaption(left, top - 22, "MiniScrollBar: top, end, hot, pressed, long");
  for (int i = 0; i < 5; ++i) {
    auto bar = std::make_unique<MiniScrollBar>();
    int x = left + i * 38;
    bar->Create(m_hWnd, RECT{x, top, x + 10, top + 180}, 104);
    if (i == 4) bar->SetRange(400);
    scrollBars_.push_back(std::move(bar));
  }
}

void GalleryWindow::ShowStates() {
  // The pointer stays far away, so no control sees a real pointer meanwhile.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  for (size_t i = 0; i < imageButtons_.size(); ++i) ApplyState(*imageButtons_[i], static_cast<int>(i % 4));
  const int loadingLooks[] = {0, 1, 2, 3, 0, 1, 2};
  for (size_t i = 0; i < loadingButtons_.size(); ++i) ApplyState(*loadingButtons_[i], loadingLooks[i]);
  for (int tick = 0; tick < 5; ++tick) loadingButtons_[3]->SendMessage(WM_TIMER, LoadingButton::kSpinTimer);
  const int iconLooks[] = {0, 1, 2, 3, 0, 1};
  for (size_t i = 0; i < iconButtons_.size(); ++i) ApplyState(*iconButtons_[i], iconLooks[i]);
  for (size_t i = 0; i < overlayButtons_.size(); ++i)
    ApplyState(*overlayButtons_[i], static_cast<int>(i % 3));

  scrollBars_[1]->SetPosition(10, false);
  scrollBars_[2]->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 10));
  scrollBars_[3]->SetPosition(5, false);
  RECT thumb = scrollBars_[3]->GetThumbRect();
  scrollBars_[3]->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, thumb.top + 5));
  ReleaseCapture();
  scrollBars_[4]->SetPosition(150, false);

  hotCombo_.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(325, 18));
  openCombo_.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(100, 18));
  openCombo_.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 18));
  openCombo_.List().SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(60, CComboBoxList::kRowHeight + 20));

  // Each simulated move asked for a leave notice, which the system posts at
  // once because the real pointer is elsewhere; drop them to keep the looks.
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_MOUSELEAVE, WM_MOUSELEAVE, PM_REMOVE)) {
  }
  RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

RECT GalleryWindow::ScreenshotArea() const {
  RECT area{};
  ::GetWindowRect(m_hWnd, &area);
  return area;
}

void GalleryWindow::PrintPaintTimes(int rounds) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  MemoryDC canvas(nullptr, 400, 200);
  MemoryDC scratch(canvas.get(), 1, 1);
  const struct {
    const char* name;
    std::function<void()> paint;
  } cases[] = {
      {"ImageButton 34x34 (hot)", [&] { imageButtons_[1]->Draw(canvas.get(), scratch.get()); }},
      {"LoadingButton 96x36 with label", [&] { loadingButtons_[0]->Draw(canvas.get(), scratch.get()); }},
      {"LoadingButton 96x36 spinning", [&] { loadingButtons_[3]->Draw(canvas.get(), scratch.get()); }},
      {"CIconButton 80x36", [&] { iconButtons_[0]->Draw(canvas.get(), scratch.get()); }},
      {"MiniScrollBar 10x180 (nine-grid thumb)", [&] { scrollBars_[0]->PaintTo(canvas.get()); }},
      {"Slider 300x24 centred", [&] { sliders_[2]->PaintTo(canvas.get()); }},
      {"ComboBox 344x36", [&] { closedCombo_.PaintTo(canvas.get()); }},
      {"CComboBoxList 3 rows", [&] { openCombo_.List().PaintTo(canvas.get()); }},
  };
  for (const auto& c : cases) {
    c.paint();  // warm caches (fonts, glyphs)
    QueryPerformanceCounter(&start);
    for (int i = 0; i < rounds; ++i) c.paint();
    GdiFlush();
    QueryPerformanceCounter(&end);
    double micros = 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart / rounds;
    std::printf("%-40s %8.1f us per paint\n", c.name, micros);
  }
}

LRESULT GalleryWindow::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  DoubleBufferedPaint paint(m_hWnd);
  HDC dc = paint.dc();
  FillSolid(dc, paint.client(), RGB(255, 255, 255));
  SelectScope font(dc, GetUiFont(12));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kCaptionColor);
  for (const Caption& caption : captions_) TextOutUtf8(dc, caption.x, caption.y, caption.text);
  // The LoadingWnd sample gets a thin frame so its white area shows.
  RECT frame{399, 585, 761, 687};
  BrushHandle grey(CreateSolidBrush(RGB(0xE0, 0xE0, 0xE0)));
  FrameRect(dc, &frame, grey.get());
  return 0;
}

LRESULT GalleryWindow::OnDestroy(UINT, WPARAM, LPARAM, BOOL&) {
  PostQuitMessage(0);
  return 0;
}
