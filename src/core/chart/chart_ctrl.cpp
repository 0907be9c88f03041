#include "core/chart/chart_ctrl.h"

#include "core/draw/surface.h"

namespace qv70 {

ChartCtrl::ChartCtrl() {
  for (AxisSide side : kAxisSides)
    axes_[static_cast<std::size_t>(side)] = std::make_unique<PlotAxis>(*this, side);
}

// Series go first: they refer to the axes.
ChartCtrl::~ChartCtrl() { series_.clear(); }

void ChartCtrl::Refresh() {
  if (host_) host_->RefreshChart(*this);
}

void ChartCtrl::Refresh(Surface& layer, Rect clientRect) {
  plot_ = clientRect;
  layer.SetBackgroundColor(background_);
  layer.FillRect(clientRect, background_);
  LayOut(layer, clientRect.Deflated(3));
  DrawAxes(layer);
  DrawPlotFrame(layer, plot_);
}

void ChartCtrl::DrawSeries(Surface& surface) {
  for (auto& series : series_) series->DrawAll(surface);
}

void ChartCtrl::DrawInto(Surface& surface, Rect rect) {
  plot_ = rect;
  LayOut(surface, rect);
  DrawAxes(surface);
  DrawSeries(surface);
  DrawPlotFrame(surface, plot_);
}

void ChartCtrl::LayOut(const Surface& surface, Rect chartRect) {
  for (auto& axis : axes_) axis->ClearRangeSet();
  for (auto& axis : axes_) {
    axis->UpdateTickStep();
    axis->ApplyMargin(surface, chartRect, plot_);
  }
  for (auto& axis : axes_) {
    axis->Place(chartRect, plot_);
    axis->LayOutTicks(surface, plot_, decimalChar_);
  }
  for (auto& series : series_) series->SetRect(plot_);
  layout_.plotRect = plot_;
  for (AxisSide side : kAxisSides) layout_.axes[static_cast<std::size_t>(side)] = Axis(side).Layout();
}

void ChartCtrl::DrawAxes(Surface& surface) {
  for (auto& axis : axes_) axis->Draw(surface);
}

PlotSeries* ChartCtrl::AddSeries(int kind) {
  std::unique_ptr<PlotSeries> series;
  if (kind == kLineSeries) series = std::make_unique<LineSeries>(*this, BottomAxis(), LeftAxis());
  else if (kind == kPointSeries) series = std::make_unique<PointSeries>(*this, BottomAxis(), LeftAxis());
  else return nullptr;
  series->SetColor(DefaultSeriesColor(series_.size()));
  series->SetRect(plot_);
  series_.push_back(std::move(series));
  return series_.back().get();
}

void ChartCtrl::RemoveSeries(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= series_.size()) return;
  series_.erase(series_.begin() + index);
  Refresh();
}

void ChartCtrl::PointAppended(PlotSeries& series) {
  if (host_) host_->DrawAppended(series);
}

}  // namespace qv70
