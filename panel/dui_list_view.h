// The scrolling grid that a page keeps its items in: item windows in rows of
// "col" columns inside an inner container, and a thin scroll bar at the
// right edge that shows only while the pointer is over a list whose content
// is taller than it. The wheel scrolls by one row per notch. The item whose
// id is "selected" is marked; the list never selects by itself.
//
// Every insert and remove lays the grid out again, which also scrolls back
// to the top. Grid values from the phone are bounded (columns at least 1,
// sizes and gaps 0 to kMaxGridPixels) so no position can overflow.
#pragma once
#include "panel/dui_ctrl.h"
#include "panel/list_container.h"
#include "widgets/mini_scroll_bar.h"

class DUIListView : public DUICtrl, public IMiniScrollBarOnScrollListener {
 public:
  static constexpr int kScrollBarWidth = 10;
  static constexpr int kBottomMargin = 19;  // below the last row
  static constexpr UINT_PTR kHoverTimer = 1;
  static constexpr UINT kHoverIntervalMs = 10;
  static constexpr int kMaxGridPixels = 10000;
  static constexpr int kMaxColumns = 1000;

  BEGIN_MSG_MAP(DUIListView)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_MOUSEWHEEL, OnMouseWheel)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
  END_MSG_MAP()

  // Destroys the windows while the container, bar and items are whole.
  ~DUIListView() override;

  void SetAttributes(std::unique_ptr<AttributeList> list) override;
  void InsertChild(std::unique_ptr<DUICtrl> child, int index) override;
  void RemoveChild(int id) override;

  // Places every item (creating its window in the container when it has
  // none), marks the selected one, scrolls to the top and sets the content
  // height (bottom of the last row + kBottomMargin) as the bar's range.
  // While the page that holds the grid is hidden, this waits until the page
  // is first shown (ShowDeferredItems): the phone's hidden pages then cost
  // no item windows and no pictures until the user opens them.
  void Layout();
  // The holding page is being shown: lays out what waited for it.
  void ShowDeferredItems();
  // Item i's place in the container before scrolling.
  RECT GetItemRect(int index) const;
  void OnScroll(MiniScrollBar* scrollBar, int position) override;

  int selected() const { return selected_; }
  int scrollOffset() const { return scrollOffset_; }
  const CListContainer& container() const { return container_; }
  const MiniScrollBar& scrollBar() const { return scrollBar_; }

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseWheel(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  void MarkSelectedItem();
  void LayoutNow();

  int itemWidth_ = 68;
  int itemHeight_ = 68;
  int spaceX_ = 34;
  int spaceY_ = 12;
  int columns_ = 3;
  int selected_ = 0;
  int scrollOffset_ = 0;
  bool hovering_ = false;
  bool layoutDeferred_ = false;
  CListContainer container_;
  MiniScrollBar scrollBar_;
};
