#pragma once

#include <string>
#include <utility>

#include "core/chart/axis_scale.h"
#include "core/chart/chart_layout.h"
#include "core/draw/draw_types.h"

namespace qv70 {

class ChartCtrl;
class PlotAxis;
class Surface;

// Every drawable part of a chart.
class PlotElement {
 public:
  explicit PlotElement(ChartCtrl& chart) : chart_(chart) {}
  virtual ~PlotElement() = default;
  PlotElement(const PlotElement&) = delete;
  PlotElement& operator=(const PlotElement&) = delete;

  virtual void Draw(Surface& surface) = 0;

  void SetColor(Color color) { color_ = color; }
  Color GetColor() const { return color_; }
  void SetVisible(bool visible) { visible_ = visible; }
  bool IsVisible() const { return visible_; }
  void SetRect(Rect rect) { rect_ = rect; }
  Rect GetRect() const { return rect_; }
  ChartCtrl& Chart() const { return chart_; }

 private:
  ChartCtrl& chart_;
  Rect rect_;
  Color color_ = kBlack;
  bool visible_ = true;
};

// The text beside an axis; a vertical axis's caption reads upwards.
class AxisCaption : public PlotElement {
 public:
  AxisCaption(ChartCtrl& chart, bool horizontal) : PlotElement(chart), horizontal_(horizontal) {}

  void SetText(std::string text) { text_ = std::move(text); }
  const std::string& Text() const { return text_; }
  const Font& GetFont() const { return font_; }

  // The text's extent plus 4 each way, width and height exchanged for a
  // vertical caption; (0, 0) when hidden, empty or the surface has no device.
  Size MeasuredSize(const Surface& surface) const;
  // At the caption's rectangle: (left, top + 2) level, (left + 2, top) upwards.
  void Draw(Surface& surface) override;

 private:
  bool horizontal_;
  Font font_ = Font::Points("Microsoft Sans Serif", 80);
  std::string text_;
};

// Dotted grey lines across the plot at the ticks of its axis.
class PlotGrid : public PlotElement {
 public:
  PlotGrid(ChartCtrl& chart, const PlotAxis& axis);

  void Draw(Surface& surface) override;

 private:
  const PlotAxis& axis_;
};

// One linear axis. Bottom and left are shown; top and right are secondary and
// hidden. Ranges, steps and pixels are those of the last layout.
class PlotAxis : public PlotElement {
 public:
  PlotAxis(ChartCtrl& chart, AxisSide side);

  // Stores the range when minimum <= maximum and both are finite; any other
  // range is ignored. Takes effect at the next layout.
  void SetRange(double minimum, double maximum);

  AxisSide Side() const { return side_; }
  bool IsHorizontal() const { return side_ == AxisSide::Bottom || side_ == AxisSide::Top; }
  bool IsSecondary() const { return side_ == AxisSide::Top || side_ == AxisSide::Right; }
  double Minimum() const { return minimum_; }
  double Maximum() const { return maximum_; }
  bool IsRangeSet() const { return rangeSet_; }
  const TickStep& Step() const { return step_; }
  AxisScale Scale() const { return {minimum_, maximum_, startPixel_, endPixel_, IsHorizontal()}; }
  // The scale the axis was last laid out and drawn with; series map by it.
  AxisScale LaidOutScale() const {
    return {layout_.minimum, layout_.maximum, layout_.startPixel, layout_.endPixel, IsHorizontal()};
  }
  const Font& GetFont() const { return font_; }

  AxisCaption& Caption() { return caption_; }
  const AxisCaption& Caption() const { return caption_; }
  PlotGrid& Grid() { return grid_; }
  const AxisLayout& Layout() const { return layout_; }

  // Caption, axis line, ticks with labels, then the grid, as laid out.
  void Draw(Surface& surface) override;

 private:
  friend class ChartCtrl;

  // The layout steps, in the order the chart runs them for all axes.
  void ClearRangeSet() { rangeSet_ = false; }
  void UpdateTickStep();
  void ApplyMargin(const Surface& surface, Rect chartRect, Rect& plot) const;
  void Place(Rect chartRect, Rect plot);
  void LayOutTicks(const Surface& surface, Rect plot, char decimalChar);

  void ApplyHorizontalMargin(const Surface& surface, Rect chartRect, Rect& plot) const;
  void ApplyVerticalMargin(const Surface& surface, Rect chartRect, Rect& plot) const;
  void PlaceCaption(const Surface& surface);
  Point LabelOrigin(int pixel, Size label) const;
  void LayOutGrid(Rect plot);
  void DrawTick(Surface& surface, const TickLayout& tick) const;

  AxisSide side_;
  double minimum_ = 0.0;
  double maximum_ = 10.0;
  TickStep step_;
  double firstTick_ = 0.0;
  int startPixel_ = 0;
  int endPixel_ = 0;
  bool rangeSet_ = false;
  Font font_ = Font::Points("Microsoft Sans Serif", 80);
  AxisCaption caption_;
  PlotGrid grid_;
  AxisLayout layout_;
};

}  // namespace qv70
