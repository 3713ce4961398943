#include "widgets/combo_box_list.h"

#include "config/core/app_messages.h"
#include "config/ui_font.h"
#include "framework/gdi.h"
#include "framework/text.h"
#include "widgets/mouse_input.h"
#include "widgets/text_scope.h"

namespace {
// The one open list and the hook that watches presses while it is open.
// Both belong to the window thread that runs the combo boxes.
struct HookTraits {
  static bool IsValid(HHOOK hook) { return hook != nullptr; }
  static void Release(HHOOK hook) { UnhookWindowsHookEx(hook); }
};
CComboBoxList* g_openList = nullptr;
UniqueOwner<HHOOK, HookTraits> g_hook;
const std::string kNoText;

// Square top corners, rounded bottom corners: a rounded rectangle united
// with a plain rectangle that covers all but the bottom three rows.
RegionHandle ListShape(int width, int height) {
  RegionHandle shape(CreateRoundRectRgn(0, 0, width, height, 3, 3));
  RegionHandle top(CreateRectRgn(0, 0, width, height - 3));
  CombineRgn(shape.get(), shape.get(), top.get(), RGN_OR);
  return shape;
}
}  // namespace

CComboBoxList::~CComboBoxList() {
  if (IsWindow()) DestroyWindow();
}

CComboBoxList* CComboBoxList::OpenList() {
  return g_openList;
}

bool CComboBoxList::WatchesPresses() {
  return g_hook.valid();
}

const std::string& CComboBoxList::GetText(int index) const {
  if (index < 0 || index >= GetCount()) return kNoText;
  return items_[static_cast<size_t>(index)]->text;
}

void CComboBoxList::ResetContent() {
  items_.clear();
  Layout();
}

int CComboBoxList::AddString(const std::string& text) {
  items_.push_back(std::make_unique<Item>(Item{text, {}}));
  Layout();
  return GetCount();
}

void CComboBoxList::Layout() {
  RECT client{};
  if (IsWindow()) GetClientRect(&client);
  for (size_t i = 0; i < items_.size(); ++i) {
    int top = static_cast<int>(i) * kRowHeight;
    items_[i]->row = RECT{0, top, client.right, top + kRowHeight};
  }
}

int CComboBoxList::RowAt(POINT pt) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (PtInRect(&items_[i]->row, pt)) return static_cast<int>(i);
  return -1;
}

HWND CComboBoxList::Create(HWND owner, RECT screenRect) {
  const int content = GetCount() * kRowHeight;
  if (screenRect.bottom - screenRect.top > content) screenRect.bottom = screenRect.top + content;
  owner_ = owner;
  HWND wnd = CWindowImpl<CComboBoxList>::Create(nullptr, screenRect, "", WS_OVERLAPPED,
                                                WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
  if (!wnd) return nullptr;
  // An overlapped window always gets a caption; the list has none. The size
  // is applied again because a captioned window may have been created taller
  // than asked (its minimum height), and an empty list is zero pixels high.
  ModifyStyle(WS_CAPTION, 0);
  SetWindowPos(nullptr, screenRect.left, screenRect.top, screenRect.right - screenRect.left,
               screenRect.bottom - screenRect.top, SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
  RECT client{};
  GetClientRect(&client);
  RegionHandle shape = ListShape(client.right, client.bottom);
  if (SetWindowRgn(m_hWnd, shape.get(), FALSE)) shape.release();  // the window owns the region now
  Layout();
  if (g_openList && g_openList != this) g_openList->DestroyWindow();
  g_openList = this;
  if (!g_hook) g_hook.reset(SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId()));
  return wnd;
}

LRESULT CALLBACK CComboBoxList::GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  LRESULT result = CallNextHookEx(g_hook.get(), code, wParam, lParam);
  const MSG* msg = reinterpret_cast<const MSG*>(lParam);
  if (code >= 0 && msg && (msg->message == WM_LBUTTONDOWN || msg->message == WM_NCLBUTTONDOWN) &&
      g_openList && g_openList->IsWindow()) {
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT listRect{};
    g_openList->GetWindowRect(&listRect);
    if (!PtInRect(&listRect, cursor)) {
      // Mark first: the press is about to reach the combo box, which must not reopen the list.
      g_openList->closedByClick_ = true;
      g_openList->DestroyWindow();
    }
  }
  return result;
}

LRESULT CComboBoxList::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  closedByClick_ = false;
  return 0;
}

LRESULT CComboBoxList::OnMouseMove(UINT, WPARAM, LPARAM lParam, BOOL&) {
  RequestMouseLeave(m_hWnd);
  POINT pt = PointFromLParam(lParam);
  int row = RowAt(pt);
  if (row != hot_) {
    hot_ = row;
    Invalidate(TRUE);
  }
  // Hovering makes the row the selection, whether or not it is then clicked.
  selected_ = hot_;
  return 0;
}

LRESULT CComboBoxList::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&) {
  hot_ = -1;
  Invalidate(TRUE);
  return 0;
}

LRESULT CComboBoxList::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&) {
  POINT pt = PointFromLParam(lParam);
  selected_ = RowAt(pt);
  if (selected_ == -1 || !owner_) return 0;
  // Selection first, then the window goes (WM_DESTROY posts the close).
  ::PostMessageA(owner_, WM_COMBOLIST_SELECT, 0, 0);
  DestroyWindow();
  return 0;
}

LRESULT CComboBoxList::OnActivateApp(UINT, WPARAM wParam, LPARAM, BOOL&) {
  if (!wParam) DestroyWindow();  // another program became active
  return 0;
}

LRESULT CComboBoxList::OnDestroy(UINT, WPARAM, LPARAM, BOOL&) {
  ::PostMessageA(owner_, WM_COMBOLIST_CLOSED, 0, 0);
  if (g_openList == this) {
    g_openList = nullptr;
    g_hook.reset();
  }
  hot_ = -1;
  return 0;
}

void CComboBoxList::PaintTo(HDC dc) {
  RECT client{};
  GetClientRect(&client);
  FillSolid(dc, client, RGB(255, 255, 255));
  SelectScope font(dc, GetUiFont(13));
  {
    TransparentTextScope text(dc, RGB(0, 0, 0));
    for (size_t i = 0; i < items_.size(); ++i) {
      RECT row = items_[i]->row;
      RECT visible{};
      if (!IntersectRect(&visible, &row, &client)) continue;
      if (static_cast<int>(i) == hot_) FillSolid(dc, row, kHotRowColor);
      RECT textRect{row.left + kTextInset, row.top, row.right - kTextInset, row.bottom};
      DrawTextUtf8(dc, items_[i]->text, &textRect, DT_VCENTER | DT_SINGLELINE);
    }
  }
  // The outline is the window's own shape, so every frame line falls on the
  // outermost visible pixels (a wider shape would put the right edge
  // outside the window).
  RegionHandle frame = ListShape(client.right, client.bottom);
  BrushHandle brush(::CreateSolidBrush(kFrameColor));
  FrameRgn(dc, frame.get(), brush.get(), 1, 1);
}
