#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/chart/chart_ctrl.h"
#include "core/draw/fake_font_metrics.h"
#include "core/draw/recording_surface.h"

namespace qv70 {

// A window for a chart: refreshes lay it out on a fresh layer of the client
// size, appended points are drawn on `window`.
class FakeChartHost : public ChartHost {
 public:
  explicit FakeChartHost(Rect client) : client_(client) {}

  void RefreshChart(ChartCtrl& chart) override {
    ++refreshes;
    layer.Clear();
    chart.Refresh(layer, client_);
  }
  void DrawAppended(PlotSeries& series) override { series.DrawNew(window); }

  int refreshes = 0;
  RecordingSurface layer{kFakeMetrics};
  RecordingSurface window{kFakeMetrics};

 private:
  Rect client_;
};

inline void PrintTo(const Rect& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
inline void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

inline std::vector<std::string> Labels(const AxisLayout& axis) {
  std::vector<std::string> labels;
  for (const TickLayout& tick : axis.ticks) labels.push_back(tick.label);
  return labels;
}

inline std::vector<int> Pixels(const AxisLayout& axis) {
  std::vector<int> pixels;
  for (const TickLayout& tick : axis.ticks) pixels.push_back(tick.pixel);
  return pixels;
}

inline std::vector<std::string> DescribeAll(const std::vector<SurfaceRecord>& records) {
  std::vector<std::string> lines;
  for (const SurfaceRecord& r : records) lines.push_back(r.Describe());
  return lines;
}

}  // namespace qv70
