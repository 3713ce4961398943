// The drop-down list of a ComboBox: a borderless top-level pop-up with one
// 46-pixel row per item. While a list is open a WH_GETMESSAGE hook of the
// thread closes it on any press outside it; at most one list is open.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "widgets/buffered_paint_window.h"

class CComboBoxList : public BufferedPaintWindow<CComboBoxList> {
 public:
  static constexpr int kRowHeight = 46;
  static constexpr int kTextInset = 14;
  static constexpr COLORREF kHotRowColor = RGB(0xE5, 0xE5, 0xE5);
  static constexpr COLORREF kFrameColor = RGB(0xE0, 0xE0, 0xE0);

  struct Item {
    std::string text;
    RECT row{};  // list client coordinates
  };

  BEGIN_MSG_MAP(CComboBoxList)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_MOUSEACTIVATE, OnMouseActivate)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_ACTIVATEAPP, OnActivateApp)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    CHAIN_MSG_MAP(BufferedPaintWindow<CComboBoxList>)
  END_MSG_MAP()

  CComboBoxList() = default;
  ~CComboBoxList() override;

  // Opens the list window for `owner` at `screenRect` (shrunk to the rows'
  // height), not yet visible. Closes any other open list.
  HWND Create(HWND owner, RECT screenRect);

  void ResetContent();
  int AddString(const std::string& text);
  int GetCount() const { return static_cast<int>(items_.size()); }
  const std::string& GetText(int index) const;
  int GetCurSel() const { return selected_; }
  void SetCurSel(int index) { selected_ = index; }
  int GetHot() const { return hot_; }
  bool ClosedByClick() const { return closedByClick_; }
  void SetClosedByClick(bool value) { closedByClick_ = value; }

  // The list that is open now (at most one), or null.
  static CComboBoxList* OpenList();
  // Whether the thread's message hook that closes the open list is installed.
  static bool WatchesPresses();

  // Paints the whole client onto `dc`.
  void PaintTo(HDC dc);

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseActivate(UINT, WPARAM, LPARAM, BOOL&) { return MA_NOACTIVATE; }
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnActivateApp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  void Layout();
  int RowAt(POINT pt) const;
  static LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam);

  std::vector<std::unique_ptr<Item>> items_;
  int selected_ = -1;
  int hot_ = -1;
  HWND owner_ = nullptr;
  bool closedByClick_ = false;
};
