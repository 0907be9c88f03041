#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/chart/plot_axis.h"

namespace qv70 {

// The kinds AddSeries takes.
constexpr int kLineSeries = 0;
constexpr int kPointSeries = 1;

// Default colour of the series added to a chart holding `seriesBefore` series.
Color DefaultSeriesColor(std::size_t seriesBefore);

struct ChartPoint {
  double x = 0;
  double y = 0;

  bool operator==(const ChartPoint& o) const { return x == o.x && y == o.y; }
};

// Points against the bottom (x) and left (y) axes, drawn within the series
// rectangle: the plot rectangle of the chart's last layout. Points with a
// coordinate that is not finite are kept but never drawn.
class PlotSeries : public PlotElement {
 public:
  PlotSeries(ChartCtrl& chart, const PlotAxis& horizontal, const PlotAxis& vertical, int kind);

  int Kind() const { return kind_; }
  const std::vector<ChartPoint>& Points() const { return points_; }
  // How many points DrawNew has drawn.
  std::size_t DrawnCount() const { return drawnCount_; }

  // Appends the point and has the chart's host draw what is new at once.
  void AppendPoint(double x, double y);

  // The whole series, each point clamped into the series rectangle, so a
  // value beyond an axis shows on the plot's edge.
  virtual void DrawAll(Surface& surface) = 0;
  // What was appended since the last DrawNew, unclamped, clipped to the
  // series rectangle.
  virtual void DrawNew(Surface& surface) = 0;
  void Draw(Surface& surface) override { DrawAll(surface); }

 protected:
  // The pixel of a point, still in double; nullopt when it cannot be drawn.
  std::optional<std::pair<double, double>> Position(const ChartPoint& point) const;
  // The pixel of a point clamped into the series rectangle (edges inside).
  std::optional<Point> ClampedPixel(const ChartPoint& point) const;
  void MarkAllDrawn() { drawnCount_ = points_.size(); }

 private:
  const PlotAxis& horizontal_;
  const PlotAxis& vertical_;
  int kind_;
  std::vector<ChartPoint> points_;
  std::size_t drawnCount_ = 0;
};

// Straight segments from each point to the next, one pixel wide, solid.
class LineSeries : public PlotSeries {
 public:
  LineSeries(ChartCtrl& chart, const PlotAxis& horizontal, const PlotAxis& vertical)
      : PlotSeries(chart, horizontal, vertical, kLineSeries) {}

  // Also draws the frame of the series rectangle again with the pen that was
  // current before.
  void DrawAll(Surface& surface) override;
  void DrawNew(Surface& surface) override;
};

// A 5 x 5 ellipse in the series colour, outlined black, at every point.
class PointSeries : public PlotSeries {
 public:
  PointSeries(ChartCtrl& chart, const PlotAxis& horizontal, const PlotAxis& vertical)
      : PlotSeries(chart, horizontal, vertical, kPointSeries) {}

  void DrawAll(Surface& surface) override;
  // With the surface's current pen.
  void DrawNew(Surface& surface) override;

 private:
  static constexpr int kMarkWidth = 5;
  static constexpr int kMarkHeight = 5;
  Rect MarkAt(Point centre) const;
};

// The plot frame: left-top, right-top, right-bottom, left-bottom, left-top,
// with the surface's current pen.
void DrawPlotFrame(Surface& surface, Rect plot);

}  // namespace qv70
