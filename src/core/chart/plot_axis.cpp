#include "core/chart/plot_axis.h"

#include <algorithm>
#include <cmath>

#include "core/draw/number_text.h"
#include "core/draw/surface.h"

namespace qv70 {
namespace {

constexpr Color kGridColor = Color::Rgb(128, 128, 128);
constexpr int kVerticalCaptionEscapement = 900;
// Far more ticks than any axis can show; it bounds a step kept from another
// range, or one below the precision of the values it is added to.
constexpr std::size_t kMaxTicks = 10000;

Size Measure(const Surface& surface, const Font& font, std::string_view text) {
  return surface.Metrics().Extent(font, text, surface.LogicalUnitsPerInch());
}

}  // namespace

const char* AxisSideName(AxisSide side) {
  switch (side) {
    case AxisSide::Bottom: return "bottom";
    case AxisSide::Left: return "left";
    case AxisSide::Top: return "top";
    case AxisSide::Right: return "right";
  }
  return "?";
}

Size AxisCaption::MeasuredSize(const Surface& surface) const {
  if (!IsVisible() || !surface.HasDevice() || text_.empty()) return {0, 0};
  const Size text = Measure(surface, font_, text_);
  const Size padded{text.width + 4, text.height + 4};
  return horizontal_ ? padded : Size{padded.height, padded.width};
}

void AxisCaption::Draw(Surface& surface) {
  if (!IsVisible() || !surface.HasDevice() || text_.empty()) return;
  const Rect r = GetRect();
  if (horizontal_) {
    const Font previous = surface.SelectFont(font_);
    surface.DrawTextAt({r.left, r.top + 2}, text_);
    surface.SelectFont(previous);
  } else {
    const Font previous = surface.SelectFont(font_.Rotated(kVerticalCaptionEscapement));
    surface.DrawTextAt({r.left + 2, r.top}, text_);
    surface.SelectFont(previous);
  }
}

PlotGrid::PlotGrid(ChartCtrl& chart, const PlotAxis& axis) : PlotElement(chart), axis_(axis) {
  SetColor(kGridColor);
}

void PlotGrid::Draw(Surface& surface) {
  if (!IsVisible() || !surface.HasDevice()) return;
  const Rect plot = GetRect();
  const Pen previous = surface.SelectPen(Pen::Dotted(GetColor()));
  // Dashes start at the bottom of a vertical line and the left of a level one.
  for (int p : axis_.Layout().gridLines) {
    if (axis_.IsHorizontal()) surface.DrawLine({p, plot.bottom}, {p, plot.top});
    else surface.DrawLine({plot.left, p}, {plot.right, p});
  }
  surface.SelectPen(previous);
}

PlotAxis::PlotAxis(ChartCtrl& chart, AxisSide side)
    : PlotElement(chart),
      side_(side),
      caption_(chart, side == AxisSide::Bottom || side == AxisSide::Top),
      grid_(chart, *this) {
  SetVisible(!IsSecondary());
  layout_.side = side;
}

void PlotAxis::SetRange(double minimum, double maximum) {
  if (!std::isfinite(minimum) || !std::isfinite(maximum) || minimum > maximum) return;
  minimum_ = minimum;
  maximum_ = maximum;
  rangeSet_ = true;
}

void PlotAxis::UpdateTickStep() {
  step_ = NextTickStep(step_, minimum_, maximum_, endPixel_ - startPixel_, IsHorizontal());
  firstTick_ = FirstTickValue(minimum_, step_.step);
}

void PlotAxis::ApplyMargin(const Surface& surface, Rect chartRect, Rect& plot) const {
  if (!IsVisible()) return;
  if (IsHorizontal()) ApplyHorizontalMargin(surface, chartRect, plot);
  else ApplyVerticalMargin(surface, chartRect, plot);
}

void PlotAxis::ApplyHorizontalMargin(const Surface& surface, Rect chartRect, Rect& plot) const {
  const Size label = Measure(surface, font_, FixedPointText(maximum_, step_.decimals));
  const int needed = 5 + label.height + caption_.MeasuredSize(surface).height;
  if (side_ == AxisSide::Bottom) plot.bottom = std::min(plot.bottom, chartRect.bottom - needed);
  else plot.top = std::max(plot.top, chartRect.top + needed);
  // Room for half the widest label beyond the last tick.
  plot.right = std::min(plot.right, chartRect.right - (label.width / 2 + 3));
}

void PlotAxis::ApplyVerticalMargin(const Surface& surface, Rect chartRect, Rect& plot) const {
  const double widest = GuessedDigits(maximum_) > GuessedDigits(minimum_) ? maximum_ : minimum_;
  const Size label = Measure(surface, font_, FixedPointText(widest, step_.decimals));
  const int needed = 8 + label.width + caption_.MeasuredSize(surface).width + 2;
  // Room for half a label above the top tick.
  plot.top = std::max(plot.top, chartRect.top + label.height / 2 + 3);
  if (side_ == AxisSide::Left) plot.left = std::max(plot.left, chartRect.left + needed);
  else plot.right = std::min(plot.right, chartRect.right - needed);
}

void PlotAxis::Place(Rect chartRect, Rect plot) {
  const bool secondary = IsSecondary();
  if (IsHorizontal()) {
    startPixel_ = plot.left;
    endPixel_ = plot.right;
    SetRect({chartRect.left, secondary ? chartRect.top : plot.bottom, chartRect.right,
             secondary ? plot.top : chartRect.bottom});
  } else {
    startPixel_ = plot.bottom;
    endPixel_ = plot.top;
    SetRect({secondary ? plot.right : chartRect.left, chartRect.top, secondary ? chartRect.right : plot.left,
             chartRect.bottom});
  }
}

void PlotAxis::LayOutTicks(const Surface& surface, Rect plot, char decimalChar) {
  layout_ = AxisLayout{};
  layout_.side = side_;
  layout_.rect = GetRect();
  layout_.startPixel = startPixel_;
  layout_.endPixel = endPixel_;
  layout_.caption = caption_.Text();
  grid_.SetRect(plot);
  if (IsVisible() && surface.HasDevice()) {
    layout_.drawn = true;
    UpdateTickStep();
    PlaceCaption(surface);
    const AxisScale scale = Scale();
    if (minimum_ != maximum_) {
      for (double v = firstTick_; v <= maximum_ && layout_.ticks.size() < kMaxTicks;) {
        const int pixel = SaturatedPixel(scale.Position(v));
        std::string label = TickLabel(v, step_.decimals, decimalChar);
        const Point origin = LabelOrigin(pixel, Measure(surface, font_, label));
        layout_.ticks.push_back({v, std::move(label), pixel, origin});
        // Repeated addition, as the labels count on; a step too small to
        // change the value ends the ticks rather than repeating one forever.
        const double next = v + step_.step;
        if (!(next > v)) break;
        v = next;
      }
    } else {
      const int pixel = scale.Middle();
      std::string label = TickLabel(minimum_, step_.decimals, decimalChar);
      const Point origin = LabelOrigin(pixel, Measure(surface, font_, label));
      layout_.ticks.push_back({minimum_, std::move(label), pixel, origin});
    }
    LayOutGrid(plot);
  }
  layout_.minimum = minimum_;
  layout_.maximum = maximum_;
  layout_.step = step_.step;
  layout_.decimals = step_.decimals;
  layout_.firstTick = firstTick_;
  layout_.captionRect = caption_.GetRect();
}

void PlotAxis::PlaceCaption(const Surface& surface) {
  const Size size = caption_.MeasuredSize(surface);
  const Rect r = GetRect();
  const int mid = Scale().Middle();
  Point at;
  switch (side_) {
    case AxisSide::Bottom: at = {mid - size.width / 2, r.top + size.height + 2}; break;
    case AxisSide::Top: at = {mid - size.width / 2, r.top + 2}; break;
    case AxisSide::Left: at = {r.left, mid + size.height / 2}; break;
    case AxisSide::Right: at = {r.right - size.width - 2, mid + size.height / 2}; break;
  }
  caption_.SetRect({at.x, at.y, at.x + size.width, at.y + size.height});
}

Point PlotAxis::LabelOrigin(int pixel, Size label) const {
  const Rect r = GetRect();
  switch (side_) {
    case AxisSide::Bottom: return {pixel - label.width / 2, r.top + 5};
    case AxisSide::Top: return {pixel - label.width / 2, r.bottom - label.height - 5};
    case AxisSide::Left: return {r.left + caption_.GetRect().Width() + 4, pixel - label.height / 2};
    case AxisSide::Right: return {r.left + 6, pixel - label.height / 2};
  }
  return {};
}

void PlotAxis::LayOutGrid(Rect plot) {
  const AxisScale scale = Scale();
  const double low = IsHorizontal() ? plot.left : plot.top;
  const double high = IsHorizontal() ? plot.right : plot.bottom;
  const auto addIfInside = [&](double position) {
    if (position >= low && position <= high) layout_.gridLines.push_back(static_cast<int>(position));
  };
  if (minimum_ == maximum_) {
    addIfInside(scale.Middle());
    return;
  }
  // One line more than there are ticks: the one past the last falls outside
  // the plot unless rounding kept a tick at the maximum from being drawn.
  for (std::size_t i = 0; i <= layout_.ticks.size(); ++i)
    addIfInside(scale.Position(firstTick_ + static_cast<double>(i) * step_.step));
}

void PlotAxis::DrawTick(Surface& surface, const TickLayout& tick) const {
  const Rect r = layout_.rect;
  const int p = tick.pixel;
  switch (side_) {
    case AxisSide::Bottom: surface.DrawLine({p, r.top + 1}, {p, r.top + 4}); break;
    case AxisSide::Top: surface.DrawLine({p, r.bottom - 1}, {p, r.bottom - 4}); break;
    case AxisSide::Left: surface.DrawLine({r.right - 1, p}, {r.right - 4, p}); break;
    case AxisSide::Right: surface.DrawLine({r.left + 1, p}, {r.left + 4, p}); break;
  }
  surface.DrawTextAt(tick.labelOrigin, tick.label);
}

void PlotAxis::Draw(Surface& surface) {
  if (!layout_.drawn || !IsVisible() || !surface.HasDevice()) return;
  caption_.Draw(surface);
  const Font previousFont = surface.SelectFont(font_);
  const Pen previousPen = surface.SelectPen(Pen::Solid(1, GetColor()));
  const Rect r = layout_.rect;
  const int start = layout_.startPixel;
  const int end = layout_.endPixel;
  switch (side_) {
    case AxisSide::Bottom: surface.DrawLine({start, r.top + 1}, {end, r.top + 1}); break;
    case AxisSide::Top: surface.DrawLine({start, r.bottom - 1}, {end, r.bottom - 1}); break;
    case AxisSide::Left: surface.DrawLine({r.right - 1, start}, {r.right - 1, end}); break;
    case AxisSide::Right: surface.DrawLine({r.left + 1, start}, {r.left + 1, end}); break;
  }
  for (const TickLayout& tick : layout_.ticks) DrawTick(surface, tick);
  grid_.Draw(surface);
  surface.SelectPen(previousPen);
  surface.SelectFont(previousFont);
}

}  // namespace qv70
