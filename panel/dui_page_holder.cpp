#include "panel/dui_page_holder.h"

namespace {
bool IsPage(const DUICtrl& child) {
  return child.className() == "page_list" || child.className() == "page_adjust";
}
}  // namespace

void DUIPageHolder::SetAttributes(std::unique_ptr<AttributeList> list) {
  DUICtrl::SetAttributes(std::move(list));
  if (!m_hWnd) return;
  const int selected = SelectedPage();
  for (const auto& child : children_) {
    if (IsPage(*child) && child->m_hWnd) child->ShowWindow(child->id() == selected ? SW_SHOW : SW_HIDE);
  }
}

void DUIPageHolder::InsertChild(std::unique_ptr<DUICtrl> child, int index) {
  DUICtrl* page = child.get();
  DUICtrl::InsertChild(std::move(child), index);
  if (m_hWnd && page && IsPage(*page)) PlacePage(*page, SelectedPage());
}

LRESULT DUIPageHolder::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  const int selected = SelectedPage();
  for (const auto& child : children_) {
    if (IsPage(*child)) PlacePage(*child, selected);
  }
  return 0;
}

int DUIPageHolder::SelectedPage() const {
  // Read from the attributes each time: a modify replaces them whole.
  return attributes() ? attributes()->GetInt("selected", 0) : 0;
}

void DUIPageHolder::PlacePage(DUICtrl& page, int selected) {
  const bool shown = page.id() == selected;
  if (page.m_hWnd) {
    page.ShowWindow(shown ? SW_SHOW : SW_HIDE);
    return;
  }
  // A hidden page is made hidden, so its grid makes no item windows until
  // the page is first shown.
  RECT client{};
  GetClientRect(&client);
  page.Create(m_hWnd, client, shown);
}
