#include "gui/chart/graph_chart_ctrl.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include "core/chart/bitmap_file_writer.h"
#include "core/chart/messages.h"
#include "core/draw/measuring_surface.h"
#include "core/platform/ui_services.h"
#include "core/view/commands.h"
#include "gui/draw/qt_surface.h"

namespace qv70 {
namespace {

bool ClipboardHoldsImage(const QClipboard& clipboard) {
  const QMimeData* data = clipboard.mimeData();
  return data != nullptr && data->hasImage();
}

}  // namespace

GraphChartCtrl::GraphChartCtrl(UiServices& ui, QWidget* parent) : QWidget(parent), ui_(ui) {
  // The paint covers the whole window; nothing is erased first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  chart_.SetHost(this);
}

GraphChartCtrl::~GraphChartCtrl() { chart_.SetHost(nullptr); }

Rect GraphChartCtrl::ClientRect() const { return {0, 0, width(), height()}; }

// Builders refresh several times in a row; the layout is made at once, the
// layer drawn only when it is shown.
void GraphChartCtrl::RefreshChart(ChartCtrl& chart) {
  if (size().isEmpty()) {
    QtSurface noDevice(nullptr, metrics_);
    chart.Refresh(noDevice, ClientRect());
  } else {
    MeasuringSurface measuring(metrics_, kScreenPixelsPerInch);
    chart.Refresh(measuring, ClientRect());
  }
  layerStale_ = true;
  if (!painting_) update();
}

void GraphChartCtrl::DrawLayer() {
  if (!layerStale_ || size().isEmpty()) return;
  // Allocated once and only grown: the owners mostly make a chart smaller.
  if (layer_.width() < width() || layer_.height() < height())
    layer_ = QImage(size().expandedTo(layer_.size()), QImage::Format_RGB32);
  QPainter painter(&layer_);
  QtSurface layer(&painter, metrics_);
  chart_.Refresh(layer, ClientRect());
  layerStale_ = false;
}

// Appended points show with the next paint, which draws every series.
void GraphChartCtrl::DrawAppended(PlotSeries&) { update(); }

void GraphChartCtrl::RefreshOnce() {
  if (refreshedOnce_) return;
  Refresh();
  refreshedOnce_ = true;
}

void GraphChartCtrl::Compose(QPainter& painter) {
  DrawLayer();
  painter.drawImage(QPoint(0, 0), layer_, QRect(0, 0, width(), height()));
  QtSurface surface(&painter, metrics_);
  chart_.DrawSeries(surface);
}

void GraphChartCtrl::paintEvent(QPaintEvent*) {
  painting_ = true;
  RefreshOnce();
  QPainter painter(this);
  Compose(painter);
  painting_ = false;
}

QImage GraphChartCtrl::Snapshot() {
  RefreshOnce();
  if (width() <= 0 || height() <= 0) return {};
  QImage picture(size(), QImage::Format_RGB32);
  if (picture.isNull()) return {};
  QPainter painter(&picture);
  Compose(painter);
  painter.end();
  update();
  return picture;
}

void GraphChartCtrl::CopyCommand() {
  if (GraphShown()) CopyToClipboard();
}

void GraphChartCtrl::CopyToClipboard() {
  const QImage picture = Snapshot();
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!picture.isNull() && clipboard != nullptr) clipboard->setImage(picture);
  if (picture.isNull() || clipboard == nullptr || !ClipboardHoldsImage(*clipboard))
    ui_.ShowMessage(chart_message::kCantSetClipboardData, kMainTitle, MessageButtons::Ok,
                    MessageIcon::Warning);
}

bool GraphChartCtrl::SaveBitmap(const std::string& path) {
  if (bitmapWriter_ == nullptr) return false;
  const QImage picture = Snapshot().convertToFormat(QImage::Format_BGR888);
  if (picture.isNull()) return false;
  const BitmapView view{picture.width(), picture.height(), picture.constBits(), picture.bytesPerLine()};
  return bitmapWriter_->WriteBitmap(view, path);
}

void GraphChartCtrl::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton && GraphShown()) {
    QMenu menu(this);
    const QAction* copy = menu.addAction(QString::fromUtf8(chart_message::kCopyToClipboardItem));
    if (menu.exec(event->globalPosition().toPoint()) == copy) CopyCommand();
  }
  QWidget::mousePressEvent(event);
}

}  // namespace qv70
