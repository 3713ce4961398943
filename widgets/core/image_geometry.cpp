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

NineGridAxis LayOutNineGridAxis(int split1, int split2, int pictureLength, int origin, int length) {
  const int trailingLength = pictureLength - split2;
  const int centreLength = split2 - split1;
  const int room = length - split1 - trailingLength;  // between the two edges
  const int fill = room - centreLength;               // to be filled by repeating
  const int half = fill / 2;
  const int cross = static_cast<int>(fill * 0.5 + 0.5);  // half, rounded up
  const int inner = origin + split1;
  const int centreAt = inner + half;
  const int afterAt = centreAt + centreLength;
  NineGridAxis axis{};
  axis.leading = {origin, split1, 0, split1};
  axis.centre = {centreAt, centreLength, split1, centreLength};
  axis.trailing = {origin + length - trailingLength, trailingLength, split2, trailingLength};
  axis.beforeCentre = {inner, half, split1, 1};
  axis.afterCentre = {afterAt, half + 1, split2, 1};
  axis.between = {inner, room, split1, 1};
  axis.crossBefore = {inner, cross, split1, 1};
  axis.crossAfter = {afterAt, cross, split2, 1};
  axis.stretched = fill > 0;
  axis.splitApart = split1 != split2;
  return axis;
}

std::vector<BlendPiece> NineGridPieces(const NineGridSplits& s, int width, int height, int X, int Y, int W,
                                       int H) {
  const NineGridAxis columns = LayOutNineGridAxis(s.x1, s.x2, width, X, W);
  const NineGridAxis rows = LayOutNineGridAxis(s.y1, s.y2, height, Y, H);
  const bool centreColumn = s.x1 < s.x2, centreRow = s.y1 < s.y2;

  std::vector<BlendPiece> pieces;
  auto add = [&pieces](const AxisSpan& column, const AxisSpan& row) {
    if (column.length > 0 && row.length > 0 && column.sourceLength > 0 && row.sourceLength > 0)
      pieces.push_back({column.at, row.at, column.length, row.length, column.source, row.source,
                        column.sourceLength, row.sourceLength});
  };

  if (columns.stretched && columns.splitApart) {
    for (const AxisSpan* row : {&rows.leading, &rows.trailing, &rows.centre}) {
      add(columns.beforeCentre, *row);
      add(columns.afterCentre, *row);
    }
  }
  if (columns.stretched && !columns.splitApart) {
    add(columns.between, rows.leading);
    add(columns.between, rows.trailing);
  }
  if (rows.stretched && rows.splitApart) {
    for (const AxisSpan* column : {&columns.leading, &columns.trailing, &columns.centre}) {
      add(*column, rows.beforeCentre);
      add(*column, rows.afterCentre);
    }
  }
  if (rows.stretched && !rows.splitApart) {
    add(columns.leading, rows.between);
    add(columns.trailing, rows.between);
  }
  if (centreColumn) {
    add(columns.centre, rows.leading);
    add(columns.centre, rows.trailing);
  }
  if (centreRow) {
    add(columns.leading, rows.centre);
    add(columns.trailing, rows.centre);
  }
  if (centreColumn && centreRow) add(columns.centre, rows.centre);
  if (columns.stretched && rows.stretched) {
    add(columns.crossBefore, rows.crossBefore);
    add(columns.crossAfter, rows.crossBefore);
    add(columns.crossAfter, rows.crossAfter);
    add(columns.crossBefore, rows.crossAfter);
  }
  add(columns.leading, rows.leading);
  add(columns.trailing, rows.leading);
  add(columns.leading, rows.trailing);
  add(columns.trailing, rows.trailing);
  return pieces;
}
