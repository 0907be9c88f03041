#pragma once

#include <string>

namespace qv70 {

class ChartCtrl;

// The chart's last layout and its series as tab-separated lines, numbers as
// "%.17g", points as data values:
//   plot L T R B
//   axis SIDE CAPTION MIN MAX STEP DECIMALS FIRST   (each drawn axis, then)
//   tick SIDE VALUE LABEL PIXEL                     (each of its ticks)
//   series INDEX line|points R,G,B                  (each series, then)
//   point X Y                                       (each of its points)
std::string DescribeChart(const ChartCtrl& chart);

}  // namespace qv70
