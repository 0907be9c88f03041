#pragma once

#include <QImage>
#include <QPageSize>
#include <vector>

#include "core/report/report_settings.h"

class QPagedPaintDevice;

namespace qv70 {

class ChartCtrl;
class PictureImage;
class QtFontMetrics;
class RecordTables;

// The paper a report is printed on, portrait.
QPageSize ReportPageSize(PaperSize paper);

// The logo as pages stretch it: 24-bit pixels, top row first. Null for an
// empty picture.
QImage ReportLogoBitmap(const PictureImage& logo);

// What the pages of one report are drawn from. Everything is borrowed and
// must outlive the painting; the chart is filled page by page.
struct ReportSource {
  const ReportSettings& settings;
  const RecordTables& tables;
  ChartCtrl& chart;
  const QImage& logo;  // from ReportLogoBitmap; null: no picture
  const QtFontMetrics& metrics;
};

// Paints `pages` (page indexes from 1) onto `device`, one sheet each, in page
// units mapped onto the device's resolution from its printable area's
// top-left corner. Indexes without a page print their frame only. False when
// the device could not be painted on (a printer or file error).
bool PaintReportPages(QPagedPaintDevice& device, const ReportSource& source, const std::vector<int>& pages);

// Every page index of a report of `pageCount` pages: 1 ... pageCount.
std::vector<int> AllReportPages(int pageCount);

}  // namespace qv70
