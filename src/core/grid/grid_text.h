#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/grid/grid_types.h"

namespace qv70 {

// The grid's font as the widget measures it. The grid never draws text, it only
// needs sizes: the defaults of rows and columns, cell extents and title tips.
class GridTextMeasure {
 public:
  virtual ~GridTextMeasure() = default;

  // Size of one line of text (no line feeds in it) in the grid's font; bold is
  // the same font with weight 600, used for cells in fixed rows and columns.
  virtual GridTextSize LineExtent(std::string_view line, bool bold) const = 0;
  // Font height plus external leading.
  virtual int LineHeight() const = 0;
  virtual int AverageCharWidth() const = 0;
  virtual int SpaceWidth() const = 0;
};

// Extent of a text that may hold line feeds: the widest line by the sum of the
// line heights. An empty text is one empty line.
GridTextSize MeasureText(const GridTextMeasure& measure, std::string_view text, bool bold);

// Whether a scrolled cell's text, with a space before and after, fits a cell of
// `width` pixels. When it does not, the pointer resting on it shows a title tip.
bool TextFitsCell(const GridTextMeasure& measure, std::string_view text, int width);

// Clipboard text split for pasting: lines at every line feed (a carriage return
// before it belongs to the line end), each line into the pieces between runs
// of tabs, commas and line feeds. A run counts as one separator, so a line
// never yields an empty piece; an empty line yields none but still takes a row.
std::vector<std::vector<std::string>> SplitPasteText(std::string_view text);

}  // namespace qv70
