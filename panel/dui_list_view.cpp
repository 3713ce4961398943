#include "panel/dui_list_view.h"

#include <algorithm>

namespace {
int GridValue(const AttributeList& list, const char* key, int current, int low, int high) {
  return std::clamp(list.GetInt(key, current), low, high);
}
}  // namespace

DUIListView::~DUIListView() {
  DestroyDetached();
}

void DUIListView::SetAttributes(std::unique_ptr<AttributeList> list) {
  DUICtrl::SetAttributes(std::move(list));
  if (!attributes()) return;
  const AttributeList& a = *attributes();
  spaceX_ = GridValue(a, "spacex", spaceX_, 0, kMaxGridPixels);
  spaceY_ = GridValue(a, "spacey", spaceY_, 0, kMaxGridPixels);
  itemWidth_ = GridValue(a, "item_width", itemWidth_, 0, kMaxGridPixels);
  itemHeight_ = GridValue(a, "item_height", itemHeight_, 0, kMaxGridPixels);
  columns_ = GridValue(a, "col", columns_, 1, kMaxColumns);
  selected_ = a.GetInt("selected", selected_);
  // The items keep their places until the next Layout.
  if (m_hWnd) MarkSelectedItem();
}

void DUIListView::InsertChild(std::unique_ptr<DUICtrl> child, int index) {
  DUICtrl::InsertChild(std::move(child), index);
  Layout();
}

void DUIListView::RemoveChild(int id) {
  // The base destroys the item with its window.
  DUICtrl::RemoveChild(id);
  Layout();
}

RECT DUIListView::GetItemRect(int index) const {
  const int x = (index % columns_) * (itemWidth_ + spaceX_);
  const int y = (index / columns_) * (itemHeight_ + spaceY_);
  return RECT{x, y, x + itemWidth_, y + itemHeight_};
}

LRESULT DUIListView::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  RECT client{};
  GetClientRect(&client);
  container_.Create(m_hWnd, RECT{client.left, client.top, client.right - kScrollBarWidth, client.bottom}, "",
                    WS_CHILD | WS_VISIBLE);
  scrollBar_.Create(m_hWnd, RECT{client.right - kScrollBarWidth, client.top, client.right, client.bottom}, 0);
  scrollBar_.SetPage(client.bottom - client.top);
  scrollBar_.SetRange(client.bottom - client.top);
  scrollBar_.SetListener(this);
  Layout();
  SetTimer(kHoverTimer, kHoverIntervalMs);
  return 0;
}

void DUIListView::Layout() {
  if (!m_hWnd) return;
  HWND page = GetParent();
  if (page && !(::GetWindowLongPtrA(page, GWL_STYLE) & WS_VISIBLE)) {
    layoutDeferred_ = true;
    return;
  }
  LayoutNow();
}

void DUIListView::ShowDeferredItems() {
  if (!layoutDeferred_) return;
  layoutDeferred_ = false;
  LayoutNow();
}

void DUIListView::LayoutNow() {
  layoutDeferred_ = false;
  // Items go to their unscrolled places, which undoes any scrolling.
  scrollOffset_ = 0;
  int lastBottom = 0;
  for (size_t i = 0; i < children_.size(); ++i) {
    DUICtrl& item = *children_[i];
    const RECT place = GetItemRect(static_cast<int>(i));
    if (item.m_hWnd) {
      item.MoveWindow(place, TRUE);
    } else {
      item.Create(container_, place);
    }
    lastBottom = place.bottom;
  }
  MarkSelectedItem();
  scrollBar_.SetRange(lastBottom + kBottomMargin);
  scrollBar_.SetPosition(0, false);
  const bool overflows = lastBottom > scrollBar_.GetPage();
  scrollBar_.ShowWindow(overflows && hovering_ ? SW_SHOW : SW_HIDE);
}

void DUIListView::MarkSelectedItem() {
  for (const auto& child : children_) {
    if (auto* item = dynamic_cast<DUIItem*>(child.get())) item->SetSelected(item->id() == selected_);
  }
}

void DUIListView::OnScroll(MiniScrollBar*, int position) {
  // Null rectangles: the item windows move with the contents.
  ::ScrollWindow(container_, 0, scrollOffset_ - position, nullptr, nullptr);
  scrollOffset_ = position;
}

LRESULT DUIListView::OnMouseWheel(UINT, WPARAM wParam, LPARAM, BOOL&) {
  // One row per notch, whatever the delta's size.
  const int row = spaceY_ + itemHeight_;
  const int delta = static_cast<short>(HIWORD(wParam));
  const int position = scrollBar_.GetPosition();
  scrollBar_.SetPosition(delta < 0 ? position + row : position - row, true);
  return 0;
}

LRESULT DUIListView::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if (wParam != kHoverTimer) {
    handled = FALSE;
    return 0;
  }
  POINT cursor{};
  RECT window{};
  ::GetCursorPos(&cursor);
  GetWindowRect(&window);
  const bool inside = PtInRect(&window, cursor) != FALSE;
  if (inside && !hovering_) {
    hovering_ = true;
    scrollBar_.ShowWindow(scrollBar_.GetRange() > scrollBar_.GetPage() ? SW_SHOW : SW_HIDE);
  } else if (!inside && hovering_ && !scrollBar_.IsDragging()) {
    // While the thumb is dragged the bar stays, wherever the pointer goes.
    scrollBar_.ShowWindow(SW_HIDE);
    hovering_ = false;
  }
  return 0;
}
