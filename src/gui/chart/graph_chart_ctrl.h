#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <string>

#include "core/chart/chart_ctrl.h"
#include "gui/draw/qt_font_metrics.h"

class QPainter;

namespace qv70 {

class BitmapFileWriter;
class UiServices;

// The window of a chart. Axes, grid and frame are drawn into a background
// layer when the chart is refreshed; a paint copies the layer and draws the
// series on top. While the owner's GraphShown flag is set, a right click
// opens a menu that copies the picture to the clipboard.
//
// The owner changes Chart() (ranges, captions, series) and calls Refresh
// after moving the window; the first paint, copy or save lays it out anyway.
class GraphChartCtrl : public QWidget, private ChartHost {
  Q_OBJECT

 public:
  explicit GraphChartCtrl(UiServices& ui, QWidget* parent = nullptr);
  ~GraphChartCtrl() override;

  ChartCtrl& Chart() { return chart_; }
  const ChartCtrl& Chart() const { return chart_; }
  const QtFontMetrics& Metrics() const { return metrics_; }

  // The owner's GraphShown flag; without one, no graph counts as shown.
  void SetGraphShownSource(std::function<bool()> graphShown) { graphShown_ = std::move(graphShown); }
  bool GraphShown() const { return graphShown_ && graphShown_(); }
  // What SaveBitmap writes through; not owned.
  void SetBitmapWriter(BitmapFileWriter* writer) { bitmapWriter_ = writer; }

  // Lays the chart out for the window's size, redraws the layer, repaints.
  void Refresh() { chart_.Refresh(); }
  // The picture as the window shows it, of its size; the window is
  // repainted too. Null for a window of no size.
  QImage Snapshot();
  // Command 101 of the menu, Copy Graph and Ctrl+C: copies while GraphShown is set.
  void CopyCommand();
  // The snapshot onto the clipboard; "Can't set clipboard data!" when it
  // cannot be made or placed.
  void CopyToClipboard();
  // The snapshot written as a bitmap file; false when there is no writer,
  // no picture or the writer fails.
  bool SaveBitmap(const std::string& path);

  // The background layer as last drawn; it may be larger than the window.
  const QImage& Layer() const { return layer_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void RefreshChart(ChartCtrl& chart) override;
  void DrawAppended(PlotSeries& series) override;
  Rect ClientRect() const;
  void RefreshOnce();
  // The layer as the last layout placed it, drawn when a refresh left it stale.
  void DrawLayer();
  void Compose(QPainter& painter);

  UiServices& ui_;
  QtFontMetrics metrics_;
  ChartCtrl chart_;
  QImage layer_;
  bool refreshedOnce_ = false;
  bool layerStale_ = true;
  bool painting_ = false;
  std::function<bool()> graphShown_;
  BitmapFileWriter* bitmapWriter_ = nullptr;
};

}  // namespace qv70
