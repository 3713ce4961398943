#include "widgets/core/image_geometry.h"

PixelSize ScaleToFitSize(int width, int height, int box, bool force) {
  if (width <= box && height <= box && !force) return {width, height};
  if (width <= 0 || height <= 0) return {0, 0};
  // Single precision, as the drawing code has always computed it.
  float aspect = static_cast<float>(width) / static_cast<float>(height);
  if (aspect > 1.0f) return {box, static_cast<int>(static_cast<float>(box) / aspect)};
  return {static_cast<int>(static_cast<float>(box) * aspect), box};
}

NineGridSplits PairSplits(int x1, int x2, int y1, int y2) {
  NineGridSplits s{x1, x2, y1, y2};
  if (s.x1 == -1 && s.x2 != -1) s.x1 = s.x2;
  if (s.x2 == -1 && s.x1 != -1) s.x2 = s.x1;
  if (s.y1 == -1 && s.y2 != -1) s.y1 = s.y2;
  if (s.y2 == -1 && s.y1 != -1) s.y2 = s.y1;
  return s;
}

NineGridSplits ResolveSplits(NineGridSplits s, int width, int height) {
  if (s.x1 == -1 && s.x2 == -1) s.x1 = s.x2 = width / 2;
  if (s.y1 == -1 && s.y2 == -1) s.y1 = s.y2 = height / 2;
  return s;
}

std::vector<BlendPiece> NineGridPieces(const NineGridSplits& s, int width, int height, int X, int Y, int W,
                                       int H) {
  const int x1 = s.x1, x2 = s.x2, y1 = s.y1, y2 = s.y2;
  const int r = width - x2;   // right column width
  const int b = height - y2;  // bottom row height
  const int cw = x2 - x1;     // fixed centre width
  const int ch = y2 - y1;     // fixed centre height
  const int iw = W - x1 - r;  // between the left and right columns
  const int ih = H - y1 - b;  // between the top and bottom rows
  const int sw = iw - cw;     // to be filled by stretching
  const int sh = ih - ch;
  const int hw = sw / 2, hh = sh / 2;
  const int L = X + x1, T = Y + y1;
  const int CX = L + hw, AX = CX + cw;
  const int R = X + W - r, B = T + ih;
  const int CY = T + hh, AY = CY + ch;
  // Halves rounded up, so the four inner fills meet in the middle.
  const int qw = static_cast<int>(sw * 0.5 + 0.5), qh = static_cast<int>(sh * 0.5 + 0.5);

  std::vector<BlendPiece> pieces;
  auto add = [&pieces](int dx, int dy, int dw, int dh, int sx, int sy, int sw_, int sh_) {
    if (dw > 0 && dh > 0 && sw_ > 0 && sh_ > 0) pieces.push_back({dx, dy, dw, dh, sx, sy, sw_, sh_});
  };

  if (sw > 0 && x1 != x2) {
    add(L, Y, hw, y1, x1, 0, 1, y1);
    add(AX, Y, hw + 1, y1, x2, 0, 1, y1);
    add(L, B, hw, b, x1, y2, 1, b);
    add(AX, B, hw + 1, b, x2, y2, 1, b);
    add(L, CY, hw, ch, x1, y1, 1, ch);
    add(AX, CY, hw + 1, ch, x2, y1, 1, ch);
  }
  if (sw > 0 && x1 == x2) {
    add(L, Y, iw, y1, x1, 0, 1, y1);
    add(L, B, iw, b, x1, y2, 1, b);
  }
  if (sh > 0 && y1 != y2) {
    add(X, T, x1, hh, 0, y1, x1, 1);
    add(X, AY, x1, hh + 1, 0, y2, x1, 1);
    add(R, T, r, hh, x2, y1, r, 1);
    add(R, AY, r, hh + 1, x2, y2, r, 1);
    add(CX, T, cw, hh, x1, y1, cw, 1);
    add(CX, AY, cw, hh + 1, x1, y2, cw, 1);
  }
  if (sh > 0 && y1 == y2) {
    add(X, T, x1, ih, 0, y1, x1, 1);
    add(R, T, r, ih, x2, y1, r, 1);
  }
  if (x1 < x2) {
    add(CX, Y, cw, y1, x1, 0, cw, y1);
    add(CX, B, cw, b, x1, y2, cw, b);
  }
  if (y1 < y2) {
    add(X, CY, x1, ch, 0, y1, x1, ch);
    add(R, CY, r, ch, x2, y1, r, ch);
  }
  if (x1 < x2 && y1 < y2) add(CX, CY, cw, ch, x1, y1, cw, ch);
  if (sw > 0 && sh > 0) {
    add(L, T, qw, qh, x1, y1, 1, 1);
    add(AX, T, qw, qh, x2, y1, 1, 1);
    add(AX, AY, qw, qh, x2, y2, 1, 1);
    add(L, AY, qw, qh, x1, y2, 1, 1);
  }
  add(X, Y, x1, y1, 0, 0, x1, y1);
  add(R, Y, r, y1, x2, 0, r, y1);
  add(X, B, x1, b, 0, y2, x1, b);
  add(R, B, r, b, x2, y2, r, b);
  return pieces;
}
