#include "panel/dui_ctrl.h"

#include "framework/gdi.h"
#include "panel/dui_manager.h"

DUICtrl::~DUICtrl() {
  // One DestroyWindow for the whole subtree while every child object is
  // still whole; then the list and the children (which have no windows left).
  DestroyDetached();
}

HWND DUICtrl::Create(HWND parent, const RECT& rc, bool visible) {
  parentWindow_ = parent;
  return CWindowImpl<DUICtrl>::Create(parent, rc, nullptr, WS_CHILD | (visible ? WS_VISIBLE : 0));
}

void DUICtrl::SetAttributes(std::unique_ptr<AttributeList> list) {
  attributes_ = std::move(list);
  if (!attributes_) return;
  id_ = attributes_->GetInt("id", 0);
  name_ = attributes_->GetString("name");
  className_ = attributes_->GetString("class");
}

void DUICtrl::InsertChild(std::unique_ptr<DUICtrl> child, int index) {
  if (!child) return;
  child->parentId_ = id_;
  if (index >= 0 && static_cast<size_t>(index) < children_.size()) {
    children_.insert(children_.begin() + index, std::move(child));
  } else {
    children_.push_back(std::move(child));
  }
}

void DUICtrl::RemoveChild(int id) {
  int index = IndexOfChild(id);
  if (index < 0) return;
  std::unique_ptr<DUICtrl> child = std::move(children_[index]);
  children_.erase(children_.begin() + index);
  child->parentId_ = 0;
}

void DUICtrl::ModifyChild(int id, std::unique_ptr<AttributeList> list) {
  int index = IndexOfChild(id);
  if (index >= 0) children_[index]->SetAttributes(std::move(list));
}

void DUICtrl::GetChildren(std::vector<DUICtrl*>& out) const {
  for (const auto& child : children_) out.push_back(child.get());
}

const AttributePair* DUICtrl::FindAttribute(const std::string& key) const {
  return attributes_ ? attributes_->Find(key) : nullptr;
}

void DUICtrl::SendEvent(const std::string& eventName, const EventAttributes& attributes) const {
  if (DUIManager* manager = DUIManager::Instance()) manager->SendEvent(*this, eventName, attributes);
}

int DUICtrl::IndexOfChild(int id) const {
  for (size_t i = 0; i < children_.size(); ++i) {
    if (children_[i]->id() == id) return static_cast<int>(i);
  }
  return -1;
}

void DUICtrl::Repaint() {
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

LRESULT DUICtrl::PaintBuffered() {
  DoubleBufferedPaint paint(m_hWnd);
  PaintTo(paint.dc());
  return 0;
}

void CollectDescendants(const DUICtrl& control, std::vector<DUICtrl*>& out) {
  // Breadth of each level in order: the children of `control`, then the
  // descendants of each child in turn, depth first by child.
  std::vector<DUICtrl*> children;
  control.GetChildren(children);
  out.insert(out.end(), children.begin(), children.end());
  for (DUICtrl* child : children) CollectDescendants(*child, out);
}
