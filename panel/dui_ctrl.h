// The remote panel's controls: a retained tree of child windows that the
// phone builds and changes with XML commands. Every control carries the id,
// name and class the phone gave it, owns its children and the attribute set
// it was last configured with, and reacts to insert, delete and modify
// through four virtual operations that containers override.
//
// All controls share one window class (CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS:
// items rely on double clicks) and live on the window thread only; the tree
// has no locks.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/window.h"
#include "panel/core/attribute_list.h"
#include "panel/core/notify_text.h"

class DUICtrl : public CWindowImpl<DUICtrl> {
 public:
  DUICtrl() = default;
  // Destroys the window (detached first, so no message reaches a half-gone
  // object), then the attribute list and the subtree.
  ~DUICtrl() override;

  // The control's window as a child of `parent` over `rc` (parent client
  // coordinates), WS_CHILD | WS_VISIBLE (without WS_VISIBLE when `visible`
  // is false); null on failure.
  HWND Create(HWND parent, const RECT& rc, bool visible = true);

  // Takes the list and applies the common attributes: id ("id", 0), name,
  // className ("class"). Subclasses call this first, then read their own keys.
  virtual void SetAttributes(std::unique_ptr<AttributeList> list);
  // Owns `child` from now on and sets its parent id; 0 <= index < count
  // inserts before that child, anything else appends. No window is made here.
  virtual void InsertChild(std::unique_ptr<DUICtrl> child, int index);
  // Removes and destroys (window and subtree) the first child with `id`.
  virtual void RemoveChild(int id);
  // Re-applies attributes to the first child with `id`; else drops the list.
  virtual void ModifyChild(int id, std::unique_ptr<AttributeList> list);
  // The children in display order (still owned here).
  virtual void GetChildren(std::vector<DUICtrl*>& out) const;
  // Every control this one owns directly, also those GetChildren leaves out
  // (a page adjust's rows): what the manager's cap on controls counts.
  virtual void GetOwnedControls(std::vector<DUICtrl*>& out) const { GetChildren(out); }

  int id() const { return id_; }
  int parentId() const { return parentId_; }
  const std::string& name() const { return name_; }
  const std::string& className() const { return className_; }
  HWND parentWindow() const { return parentWindow_; }
  const AttributeList* attributes() const { return attributes_.get(); }
  // The pair with `key` in the control's own list, or null.
  const AttributePair* FindAttribute(const std::string& key) const;

 protected:
  // Queues a notify event for this control (id and parent id) to the phone.
  void SendEvent(const std::string& eventName, const EventAttributes& attributes = {}) const;
  // The first child with `id`, its index in `children_`, or -1.
  int IndexOfChild(int id) const;
  // Repaints the whole client without erasing, when the window exists.
  void Repaint();
  // Painting controls answer WM_PAINT with this (the client drawn by
  // PaintTo into a back buffer copied in one BitBlt) and WM_ERASEBKGND with
  // 0, so nothing flickers; tests call PaintTo on a memory DC.
  LRESULT PaintBuffered();

 public:
  // Draws the whole client onto `dc` (controls that paint override it).
  virtual void PaintTo(HDC /*dc*/) {}

 protected:
  std::vector<std::unique_ptr<DUICtrl>> children_;

 private:
  HWND parentWindow_ = nullptr;
  int id_ = 0;
  int parentId_ = 0;
  std::string name_;
  std::string className_;
  std::unique_ptr<AttributeList> attributes_;
};

// Appends every control below `control`: first its children, then, for each
// of them in order, their descendants (A, B, A1, A2, A1a, B1). Searches by id
// take the first match in this order. Its recursion is as deep as the tree,
// which the manager's cap on controls bounds.
void CollectDescendants(const DUICtrl& control, std::vector<DUICtrl*>& out);

// A clickable tile of a page's grid (and the slider row): a selected flag
// that only the phone changes (the page's "selected").
class DUIItem : public DUICtrl {
 public:
  virtual void SetSelected(bool selected) {
    selected_ = selected;
    Repaint();
  }
  bool selected() const { return selected_; }

 private:
  bool selected_ = false;
};
