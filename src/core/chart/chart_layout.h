#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/draw/draw_types.h"

namespace qv70 {

// The chart's four axes, in the chart's fixed order.
enum class AxisSide { Bottom, Left, Top, Right };
constexpr std::array<AxisSide, 4> kAxisSides = {AxisSide::Bottom, AxisSide::Left, AxisSide::Top, AxisSide::Right};

// "bottom", "left", "top" or "right".
const char* AxisSideName(AxisSide side);

struct TickLayout {
  double value = 0;
  std::string label;
  int pixel = 0;     // x of a horizontal axis's tick, y of a vertical one's
  Point labelOrigin;  // top-left corner of the label's cell
};

// Where one axis went in the last layout, as plain numbers. An axis that is
// hidden, or was laid out on a surface without a device, has no ticks, no
// caption place and no grid lines.
struct AxisLayout {
  AxisSide side = AxisSide::Bottom;
  bool drawn = false;
  Rect rect;          // the band beside the plot holding line, ticks, labels and caption
  int startPixel = 0;  // where the minimum lies
  int endPixel = 0;    // where the maximum lies
  double minimum = 0;
  double maximum = 10;
  double step = 1;
  int decimals = 0;
  double firstTick = 0;
  std::string caption;
  Rect captionRect;
  std::vector<TickLayout> ticks;
  std::vector<int> gridLines;  // pixels of the dotted lines across the plot
};

struct ChartLayout {
  Rect plotRect;
  std::array<AxisLayout, 4> axes;  // in kAxisSides order

  const AxisLayout& Axis(AxisSide side) const { return axes[static_cast<std::size_t>(side)]; }
};

}  // namespace qv70
