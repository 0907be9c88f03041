#include "gui/print/report_painter.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include "core/picture/picture_image.h"
#include "core/report/report_drawing.h"
#include "gui/draw/qt_font_metrics.h"
#include "gui/draw/qt_picture.h"
#include "gui/draw/qt_surface.h"

namespace qv70 {
namespace {

BitmapView ViewOf(const QImage& bitmap) {
  if (bitmap.isNull()) return {};
  return {bitmap.width(), bitmap.height(), bitmap.constBits(), bitmap.bytesPerLine()};
}

void PaintPage(QPainter& painter, const QPagedPaintDevice& device, const ReportSource& source, int pageIndex) {
  const Size devicePixelsPerInch{device.logicalDpiX(), device.logicalDpiY()};
  QtSurface surface(&painter, source.metrics, devicePixelsPerInch);
  surface.SetMapping(PageUnitMapping(devicePixelsPerInch));
  DrawReportPageAt(surface, pageIndex, source.settings, source.tables, source.chart, ViewOf(source.logo));
}

}  // namespace

QPageSize ReportPageSize(PaperSize paper) {
  switch (paper) {
    case PaperSize::A4: return QPageSize(QPageSize::A4);
    case PaperSize::B5: return QPageSize(QPageSize::JisB5);
    case PaperSize::Letter: return QPageSize(QPageSize::Letter);
    case PaperSize::Legal: return QPageSize(QPageSize::Legal);
  }
  return QPageSize(QPageSize::A4);
}

QImage ReportLogoBitmap(const PictureImage& logo) {
  const QImage device = ToDeviceBitmap(logo);
  if (device.isNull()) return {};
  return device.convertToFormat(QImage::Format_BGR888);
}

bool PaintReportPages(QPagedPaintDevice& device, const ReportSource& source, const std::vector<int>& pages) {
  if (pages.empty()) return true;
  QPainter painter;
  if (!painter.begin(&device)) return false;
  bool first = true;
  for (int pageIndex : pages) {
    if (!first && !device.newPage()) return false;
    first = false;
    PaintPage(painter, device, source, pageIndex);
  }
  return painter.end();
}

std::vector<int> AllReportPages(int pageCount) {
  std::vector<int> pages;
  for (int index = 1; index <= pageCount; ++index) pages.push_back(index);
  return pages;
}

}  // namespace qv70
