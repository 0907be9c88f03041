#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

#include "core/chart/chart_layout.h"
#include "core/chart/plot_axis.h"
#include "core/chart/plot_series.h"
#include "core/draw/draw_types.h"

namespace qv70 {

class ChartCtrl;
class Surface;

// What a chart asks of the window that shows it. The window keeps the
// background layer and knows the client area; the chart only lays out and
// draws on the surfaces it is given.
class ChartHost {
 public:
  virtual ~ChartHost() = default;

  // Lay the chart out again: Refresh(layer, clientRect) on the background
  // layer, then repaint (layer plus DrawSeries).
  virtual void RefreshChart(ChartCtrl& chart) = 0;
  // Show a point just appended: series.DrawNew on a surface of the window.
  virtual void DrawAppended(PlotSeries& series) = 0;
};

// The desktop's button face, the default chart background.
constexpr Color kButtonFace = Color::Rgb(240, 240, 240);

// Series of points against a bottom and a left axis, with tick labels,
// captions, dotted grid lines and a frame around the plot. Drawing goes
// through Surface only; the window around it is a ChartHost.
//
// The chart owns its four axes (Bottom, Left, Top, Right; top and right
// hidden) and its series. Axis pointers stay valid for the chart's life, a
// series pointer until RemoveSeries takes that series.
//
// Every layout (Refresh, DrawInto) starts from the axes' previous pixel
// spans: margins are measured with the label decimals those spans give, then
// each axis recomputes its step for its new span. The chart keeps the last
// layout, whichever surface it was for, until the next one.
class ChartCtrl {
 public:
  ChartCtrl();
  ~ChartCtrl();
  ChartCtrl(const ChartCtrl&) = delete;
  ChartCtrl& operator=(const ChartCtrl&) = delete;

  // Not owned; null (the default) for a chart without a window.
  void SetHost(ChartHost* host) { host_ = host; }

  // Takes effect at the next Refresh.
  void SetBackgroundColor(Color color) { background_ = color; }
  Color BackgroundColor() const { return background_; }
  // '.' or ','; labels written from the next layout on use it.
  void SetDecimalChar(char decimalChar) { decimalChar_ = decimalChar; }
  char DecimalChar() const { return decimalChar_; }

  // Asks the host to relayout and repaint; without a host nothing happens.
  void Refresh();
  // Lays the chart out for `clientRect` and draws the static part on the
  // background layer: background, axes with grid, plot frame.
  void Refresh(Surface& layer, Rect clientRect);
  // Every series in order, on top of a copy of the layer.
  void DrawSeries(Surface& surface);
  // Lays the chart out for `rect` of `surface` and draws axes, grid, series
  // and frame there, without a background (report pages).
  void DrawInto(Surface& surface, Rect rect);

  // kLineSeries or kPointSeries; any other kind gives null and changes
  // nothing. The series gets the default colour and the current plot rect.
  PlotSeries* AddSeries(int kind);
  // Removes and destroys the series, then refreshes; an index out of range
  // does nothing.
  void RemoveSeries(int index);
  std::size_t SeriesCount() const { return series_.size(); }
  PlotSeries& Series(std::size_t index) { return *series_[index]; }
  const PlotSeries& Series(std::size_t index) const { return *series_[index]; }

  PlotAxis& Axis(AxisSide side) { return *axes_[static_cast<std::size_t>(side)]; }
  const PlotAxis& Axis(AxisSide side) const { return *axes_[static_cast<std::size_t>(side)]; }
  PlotAxis& BottomAxis() { return Axis(AxisSide::Bottom); }
  PlotAxis& LeftAxis() { return Axis(AxisSide::Left); }

  Rect PlotRect() const { return plot_; }
  // The last layout as numbers.
  const ChartLayout& Layout() const { return layout_; }

  // Called by a series after AppendPoint.
  void PointAppended(PlotSeries& series);

 private:
  void LayOut(const Surface& surface, Rect chartRect);
  void DrawAxes(Surface& surface);

  std::array<std::unique_ptr<PlotAxis>, 4> axes_;
  std::vector<std::unique_ptr<PlotSeries>> series_;
  Rect plot_;
  ChartLayout layout_;
  Color background_ = kButtonFace;
  char decimalChar_ = '.';
  ChartHost* host_ = nullptr;
};

}  // namespace qv70
