// The drop-down selector of the device box: a white field with a thin
// rounded grey outline, the current text and an arrow. A press anywhere on
// it opens the list below (CComboBoxList); the owner hears about a chosen
// row through IComboBoxListener.
#pragma once
#include <windows.h>

#include <string>

#include "config/core/app_messages.h"
#include "framework/gdi.h"
#include "widgets/buffered_paint_window.h"
#include "widgets/combo_box_list.h"
#include "widgets/widget_listeners.h"

class ComboBox : public BufferedPaintWindow<ComboBox> {
 public:
  enum ArrowState : WORD { kArrowNormal = 1, kArrowHot = 2, kArrowPressed = 3 };
  static constexpr COLORREF kOpenTextColor = RGB(0x8C, 0x8C, 0x8C);

  BEGIN_MSG_MAP(ComboBox)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    MESSAGE_HANDLER(WM_COMBOLIST_SELECT, OnListSelect)
    MESSAGE_HANDLER(WM_COMBOLIST_CLOSED, OnListClosed)
    CHAIN_MSG_MAP(BufferedPaintWindow<ComboBox>)
  END_MSG_MAP()

  void SetListener(IComboBoxListener* listener) { listener_ = listener; }
  void SetText(const std::string& text);
  // Removes every item (the selected index stays).
  void ResetContent() { list_.ResetContent(); }
  // Appends an item; returns the number of items.
  int AddString(const std::string& text) { return list_.AddString(text); }
  // Selects `index` and shows its text (empty outside the list); returns `index`.
  int SetCurSel(int index);
  int GetCurSel() const { return list_.GetCurSel(); }

  const std::string& GetText() const { return text_; }
  bool IsOpen() const { return open_; }
  WORD GetArrowState() const { return arrowState_; }
  CComboBoxList& List() { return list_; }

  // Paints the whole client onto `dc`.
  void PaintTo(HDC dc);

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnListSelect(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnListClosed(UINT, WPARAM, LPARAM, BOOL&);
  void OpenList();
  void SetArrowState(WORD state);
  void DrawOutline(HDC dc, const RECT& client);

  RECT arrowRect_{};
  RECT textRect_{};
  WORD arrowState_ = kArrowNormal;
  CComboBoxList list_;
  IComboBoxListener* listener_ = nullptr;
  std::string text_;
  // Arrow pictures: open normal, open hot/pressed, closed normal, closed hot/pressed.
  BitmapHandle arrowImages_[4];
  bool open_ = false;
};
