#pragma once

#include "core/grid/grid_text.h"

namespace qv70 {

// A font where a space is 4 pixels and every other character 7 (8 in bold),
// a line 13 pixels high with 3 of external leading, 6 pixels on average.
// So the margin is 4, a new row 24 high and a new column 80 wide.
class FakeTextMeasure : public GridTextMeasure {
 public:
  GridTextSize LineExtent(std::string_view line, bool bold) const override {
    int width = 0;
    for (char c : line) width += c == ' ' ? 4 : bold ? 8 : 7;
    return {width, 13};
  }
  int LineHeight() const override { return 16; }
  int AverageCharWidth() const override { return 6; }
  int SpaceWidth() const override { return 4; }
};

}  // namespace qv70
