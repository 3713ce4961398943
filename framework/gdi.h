// RAII owners for GDI objects and device contexts, and the double-buffered
// paint used by every custom-drawn window.
#pragma once
#include <windows.h>

#include "framework/unique_owner.h"

struct GdiObjectTraits {
  static bool IsValid(HGDIOBJ h) { return h != nullptr; }
  static void Release(HGDIOBJ h) { DeleteObject(h); }
};
// Owns one GDI object (bitmap, font, brush, pen, region) and deletes it.
template <class T>
using GdiObject = UniqueOwner<T, GdiObjectTraits>;
using BitmapHandle = GdiObject<HBITMAP>;
using FontHandle = GdiObject<HFONT>;
using BrushHandle = GdiObject<HBRUSH>;
using PenHandle = GdiObject<HPEN>;
using RegionHandle = GdiObject<HRGN>;

struct MemoryDCTraits {
  static bool IsValid(HDC dc) { return dc != nullptr; }
  static void Release(HDC dc) { DeleteDC(dc); }
};
// Owns a DC from CreateCompatibleDC and deletes it.
using UniqueMemoryDC = UniqueOwner<HDC, MemoryDCTraits>;

// Selects an object into a DC for the scope and restores the previous one.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  ~SelectScope() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// GetDC/ReleaseDC of a window (null: the screen).
class ClientDC {
 public:
  explicit ClientDC(HWND wnd) : wnd_(wnd), dc_(GetDC(wnd)) {}
  ~ClientDC() {
    if (dc_) ReleaseDC(wnd_, dc_);
  }
  ClientDC(const ClientDC&) = delete;
  ClientDC& operator=(const ClientDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND wnd_;
  HDC dc_;
};

// A memory DC with a compatible bitmap of the given size selected into it.
// With ref == null the bitmap is compatible with the screen.
class MemoryDC {
 public:
  MemoryDC(HDC ref, int width, int height);
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;

  HDC get() const { return dc_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  // Destroyed in reverse: the old bitmap goes back in before ours is deleted.
  UniqueMemoryDC dc_;
  BitmapHandle bitmap_;
  SelectScope select_;
  int width_, height_;
};

// BeginPaint/EndPaint around a memory bitmap of the client size: draw into
// dc(), and the destructor copies the whole client area with one BitBlt.
class DoubleBufferedPaint {
 public:
  explicit DoubleBufferedPaint(HWND wnd);
  ~DoubleBufferedPaint();
  DoubleBufferedPaint(const DoubleBufferedPaint&) = delete;
  DoubleBufferedPaint& operator=(const DoubleBufferedPaint&) = delete;

  HDC dc() const { return buffer_.get(); }
  const RECT& client() const { return client_; }

 private:
  static RECT ClientOf(HWND wnd);
  HWND wnd_;
  PAINTSTRUCT ps_;
  HDC windowDC_;
  RECT client_;
  MemoryDC buffer_;
};

// Fills a rectangle with a solid colour.
void FillSolid(HDC dc, const RECT& rc, COLORREF color);
