#include "panel/dui_tab_holder.h"

#include "panel/dui_tab_button.h"

namespace {
// A tab of the row: a tab button that the phone still calls a "tab".
DUITabButton* AsTab(const std::unique_ptr<DUICtrl>& child) {
  return child->className() == "tab" ? dynamic_cast<DUITabButton*>(child.get()) : nullptr;
}
}  // namespace

void DUITabHolder::SetAttributes(std::unique_ptr<AttributeList> list) {
  DUICtrl::SetAttributes(std::move(list));
  selected_ = attributes() ? attributes()->GetInt("selected", 0) : 0;
  MarkSelectedTab();
  Repaint();
}

void DUITabHolder::InsertChild(std::unique_ptr<DUICtrl> child, int index) {
  DUICtrl::InsertChild(std::move(child), index);
  Layout();
}

void DUITabHolder::RemoveChild(int id) {
  // The base destroys the child with its window.
  DUICtrl::RemoveChild(id);
  Layout();
}

LRESULT DUITabHolder::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  Layout();
  return 0;
}

void DUITabHolder::MarkSelectedTab() {
  for (const auto& child : children_) {
    if (DUITabButton* tab = AsTab(child)) tab->SetSelected(tab->id() == selected_);
  }
}

void DUITabHolder::Layout() {
  if (!m_hWnd || children_.empty()) return;
  RECT client{};
  GetClientRect(&client);
  // Equal slots, rounded down: what the division leaves stays empty at the right.
  const int width = (client.right - client.left) / static_cast<int>(children_.size());
  int x = 0;
  for (const auto& child : children_) {
    if (DUITabButton* tab = AsTab(child)) {
      RECT slot{x, client.top, x + width, client.bottom};
      if (tab->m_hWnd) {
        tab->MoveWindow(slot, TRUE);
      } else {
        tab->Create(m_hWnd, slot);
      }
      tab->SetSelected(tab->id() == selected_);
    }
    x += width;
  }
}
