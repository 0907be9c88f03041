#pragma once

#include <cstdint>

namespace qv70 {

// Pixel geometry in the grid's viewport: x to the right, y down, origin at the
// top-left corner of the first fixed cell.
struct GridPoint {
  int x = 0;
  int y = 0;
};

// Half-open: covers left <= x < left + width, top <= y < top + height.
struct GridRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  bool operator==(const GridRect& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height;
  }
};

struct GridTextSize {
  int width = 0;
  int height = 0;
};

struct CellId {
  int row = -1;
  int col = -1;

  bool IsSet() const { return row >= 0 && col >= 0; }
  bool operator==(const CellId& o) const { return row == o.row && col == o.col; }
  bool operator!=(const CellId& o) const { return !(*this == o); }
};

// An inclusive block of cells; empty when minRow > maxRow or minCol > maxCol.
struct CellRange {
  int minRow = 0;
  int minCol = 0;
  int maxRow = -1;
  int maxCol = -1;

  bool IsEmpty() const { return minRow > maxRow || minCol > maxCol; }
  bool Contains(int row, int col) const {
    return row >= minRow && row <= maxRow && col >= minCol && col <= maxCol;
  }
  int RowSpan() const { return IsEmpty() ? 0 : maxRow - minRow + 1; }
  int ColSpan() const { return IsEmpty() ? 0 : maxCol - minCol + 1; }
  bool operator==(const CellRange& o) const {
    return (IsEmpty() && o.IsEmpty()) || (minRow == o.minRow && minCol == o.minCol &&
                                          maxRow == o.maxRow && maxCol == o.maxCol);
  }
};

// Desktop colour roles; the widget maps them to its palette. Rgb means the
// colour is the rgb value itself (0xRRGGBB).
enum class GridColorRole { WindowText, Window, ButtonFace, ButtonShadow, Highlight, HighlightText, Rgb };

struct GridColor {
  GridColorRole role = GridColorRole::Rgb;
  std::uint32_t rgb = 0;

  static constexpr GridColor Of(GridColorRole r) { return GridColor{r, 0}; }
  static constexpr GridColor FromRgb(std::uint32_t value) { return GridColor{GridColorRole::Rgb, value}; }
  bool operator==(const GridColor& o) const {
    return role == o.role && (role != GridColorRole::Rgb || rgb == o.rgb);
  }
  bool operator!=(const GridColor& o) const { return !(*this == o); }
};

// Text layout flags of a cell. 0 is top-left with line breaks honoured.
namespace grid_format {
constexpr unsigned kCenter = 0x01;
constexpr unsigned kRight = 0x02;
constexpr unsigned kVCenter = 0x04;
constexpr unsigned kBottom = 0x08;
constexpr unsigned kWordBreak = 0x10;
constexpr unsigned kSingleLine = 0x20;
}  // namespace grid_format

// Cell state as reported by CGridCtrl::GetItemState.
namespace grid_state {
constexpr unsigned kSelected = 0x01;
constexpr unsigned kFocused = 0x02;
constexpr unsigned kReadOnly = 0x04;
constexpr unsigned kFixed = 0x08;
}  // namespace grid_state

// Keys the grid reacts to. The widget maps its toolkit's keys onto these;
// Shift+Tab arrives as Tab with the Shift modifier.
enum class GridKey { Left, Right, Up, Down, PageUp, PageDown, Home, End, Tab, Delete, A, C, X, V };

namespace grid_modifier {
constexpr unsigned kShift = 0x01;
constexpr unsigned kControl = 0x02;
}  // namespace grid_modifier

enum class GridAxis { Horizontal, Vertical };

}  // namespace qv70
