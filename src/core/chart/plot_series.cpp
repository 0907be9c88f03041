#include "core/chart/plot_series.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "core/chart/chart_ctrl.h"
#include "core/draw/surface.h"

namespace qv70 {
namespace {

constexpr std::array<Color, 10> kSeriesColors = {
    Color::Rgb(255, 0, 0),   Color::Rgb(0, 150, 0),   Color::Rgb(0, 0, 255),   Color::Rgb(255, 255, 0),
    Color::Rgb(0, 255, 255), Color::Rgb(255, 128, 0), Color::Rgb(128, 0, 128), Color::Rgb(128, 128, 0),
    Color::Rgb(255, 0, 255), Color::Rgb(64, 128, 128),
};

// Unclamped segments are cut to the series rectangle widened by this much
// before they become int pixels: far enough out that the visible part keeps
// its slope, near enough that every surface takes the numbers.
constexpr double kFarOutside = 65536;
// Beyond this an infinite position becomes finite for the cut.
constexpr double kHugePosition = 1e300;

struct Segment {
  double x0, y0, x1, y1;
};

// Liang-Barsky: the part of the segment inside the box, if any.
std::optional<Segment> CutToBox(Segment s, double left, double top, double right, double bottom) {
  const double dx = s.x1 - s.x0;
  const double dy = s.y1 - s.y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {s.x0 - left, right - s.x0, s.y0 - top, bottom - s.y0};
  double t0 = 0;
  double t1 = 1;
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return std::nullopt;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      if (t > t1) return std::nullopt;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return std::nullopt;
      t1 = std::min(t1, t);
    }
  }
  return Segment{s.x0 + t0 * dx, s.y0 + t0 * dy, s.x0 + t1 * dx, s.y0 + t1 * dy};
}

double Bounded(double position) { return std::clamp(position, -kHugePosition, kHugePosition); }

Point PixelOf(double x, double y) { return {static_cast<int>(x), static_cast<int>(y)}; }

}  // namespace

Color DefaultSeriesColor(std::size_t seriesBefore) { return kSeriesColors[seriesBefore % kSeriesColors.size()]; }

void DrawPlotFrame(Surface& surface, Rect plot) {
  surface.DrawPolyline({{plot.left, plot.top},
                        {plot.right, plot.top},
                        {plot.right, plot.bottom},
                        {plot.left, plot.bottom},
                        {plot.left, plot.top}});
}

PlotSeries::PlotSeries(ChartCtrl& chart, const PlotAxis& horizontal, const PlotAxis& vertical, int kind)
    : PlotElement(chart), horizontal_(horizontal), vertical_(vertical), kind_(kind) {}

void PlotSeries::AppendPoint(double x, double y) {
  points_.push_back({x, y});
  Chart().PointAppended(*this);
}

std::optional<std::pair<double, double>> PlotSeries::Position(const ChartPoint& point) const {
  if (!std::isfinite(point.x) || !std::isfinite(point.y)) return std::nullopt;
  const double x = horizontal_.LaidOutScale().Position(point.x);
  const double y = vertical_.LaidOutScale().Position(point.y);
  // An axis range so wide that it overflows maps values to NaN.
  if (std::isnan(x) || std::isnan(y)) return std::nullopt;
  return std::make_pair(x, y);
}

std::optional<Point> PlotSeries::ClampedPixel(const ChartPoint& point) const {
  const auto position = Position(point);
  if (!position) return std::nullopt;
  const Rect r = GetRect();
  // Clamped while still double, so a huge value lands on the edge instead of
  // overflowing an int.
  return PixelOf(std::clamp(position->first, double(r.left), double(r.right)),
                 std::clamp(position->second, double(r.top), double(r.bottom)));
}

void LineSeries::DrawAll(Surface& surface) {
  if (!surface.HasDevice()) return;
  const Pen previousPen = surface.SelectPen(Pen::Solid(1, GetColor()));
  const BackgroundMode previousMode = surface.SetBackgroundMode(BackgroundMode::Transparent);
  const std::vector<ChartPoint>& points = Points();
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    const auto from = ClampedPixel(points[i]);
    const auto to = ClampedPixel(points[i + 1]);
    if (from && to) surface.DrawLine(*from, *to);
  }
  surface.SetBackgroundMode(previousMode);
  surface.SelectPen(previousPen);
  DrawPlotFrame(surface, GetRect());
}

void LineSeries::DrawNew(Surface& surface) {
  if (!surface.HasDevice()) return;
  const Rect r = GetRect();
  const std::optional<Rect> previousClip = surface.SetClip(r);
  const Pen previousPen = surface.SelectPen(Pen::Solid(1, GetColor()));
  const std::vector<ChartPoint>& points = Points();
  // The segment into the first new point starts at the last one drawn.
  for (std::size_t i = DrawnCount() > 0 ? DrawnCount() - 1 : 0; i + 1 < points.size(); ++i) {
    const auto from = Position(points[i]);
    const auto to = Position(points[i + 1]);
    if (!from || !to) continue;
    const auto cut = CutToBox({Bounded(from->first), Bounded(from->second), Bounded(to->first), Bounded(to->second)},
                              r.left - kFarOutside, r.top - kFarOutside, r.right + kFarOutside,
                              r.bottom + kFarOutside);
    if (cut) surface.DrawLine(PixelOf(cut->x0, cut->y0), PixelOf(cut->x1, cut->y1));
  }
  surface.SelectPen(previousPen);
  surface.SetClip(previousClip);
  MarkAllDrawn();
}

Rect PointSeries::MarkAt(Point centre) const {
  return {centre.x - kMarkWidth / 2, centre.y - kMarkHeight / 2, centre.x + kMarkWidth / 2,
          centre.y + kMarkHeight / 2};
}

void PointSeries::DrawAll(Surface& surface) {
  if (!surface.HasDevice()) return;
  const Brush previousBrush = surface.SelectBrush(Brush::Solid(GetColor()));
  const Pen previousPen = surface.SelectPen(Pen::Solid(1, kBlack));
  const BackgroundMode previousMode = surface.SetBackgroundMode(BackgroundMode::Transparent);
  for (const ChartPoint& point : Points())
    if (const auto centre = ClampedPixel(point)) surface.DrawEllipse(MarkAt(*centre));
  surface.SetBackgroundMode(previousMode);
  surface.SelectPen(previousPen);
  surface.SelectBrush(previousBrush);
}

void PointSeries::DrawNew(Surface& surface) {
  if (!surface.HasDevice()) return;
  const Rect r = GetRect();
  const std::optional<Rect> previousClip = surface.SetClip(r);
  const Brush previousBrush = surface.SelectBrush(Brush::Solid(GetColor()));
  const std::vector<ChartPoint>& points = Points();
  for (std::size_t i = DrawnCount(); i < points.size(); ++i) {
    const auto position = Position(points[i]);
    if (!position) continue;
    const auto [x, y] = *position;
    // A mark wholly outside the clip shows nothing; skipping it keeps far
    // positions out of int.
    if (x < r.left - kMarkWidth || x > r.right + kMarkWidth || y < r.top - kMarkHeight ||
        y > r.bottom + kMarkHeight)
      continue;
    surface.DrawEllipse(MarkAt(PixelOf(x, y)));
  }
  surface.SelectBrush(previousBrush);
  surface.SetClip(previousClip);
  MarkAllDrawn();
}

}  // namespace qv70
