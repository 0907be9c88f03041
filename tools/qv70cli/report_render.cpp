// report --drawing, --pdf and --rtf: the pages drawn by the same page code as the
// program's printer and preview. Page units are 1/96 inch and text is
// measured at 96 pixels per inch, so nothing depends on a display.

#include "report_render.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QPdfWriter>
#include <cstdio>

#include "commands.h"
#include "core/chart/chart_ctrl.h"
#include "core/draw/recording_surface.h"
#include "core/picture/picture_image.h"
#include "core/report/report_drawing.h"
#include "core/report/report_logo.h"
#include "core/report/rtf_export.h"
#include "gui/draw/qt_font_metrics.h"
#include "gui/draw/qt_picture.h"
#include "gui/print/report_painter.h"
#include "qt_output.h"
#include "report_page_line.h"
#include "report_request.h"

namespace qv70::cli {
namespace {

// PDF pages carry this many dots per inch; page units are mapped onto them.
constexpr int kPdfResolution = 1200;

// The report chart as the program keeps it: white, with the data's decimal character.
void PrepareReportChart(ChartCtrl& chart, const RecordTables& tables) {
  chart.SetBackgroundColor(kWhite);
  chart.SetDecimalChar(tables.decimalChar == "," ? ',' : '.');
}

// The logo as Finish loads it: the chosen picture, else the one shipped
// beside qv70cli, else none.
QImage LoadLogo(const ReportSettings& settings) {
  PictureImage logo;
  const QtPictureDecoder decoder;
  LoadReportLogo(logo, settings.picturePath, QCoreApplication::applicationDirPath().toStdString(), &decoder);
  return ReportLogoBitmap(logo);
}

BitmapView ViewOf(const QImage& bitmap) {
  if (bitmap.isNull()) return {};
  return {bitmap.width(), bitmap.height(), bitmap.constBits(), bitmap.bytesPerLine()};
}

void PrintText(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

}  // namespace

int WriteReportDrawing(OpenedReport& report) {
  const auto application = OffscreenApplication();
  const QtFontMetrics metrics;
  const QImage logo = LoadLogo(report.settings);
  ChartCtrl chart;
  PrepareReportChart(chart, report.state.tables);
  for (int index = 1; index <= report.settings.reportPageCount; ++index) {
    const std::optional<ReportPage> page = BuildPage(index, report.settings, report.state.tables, chart);
    PrintText(PageLine(index, page));
    RecordingSurface surface(metrics, {kPageUnitsPerInch, kPageUnitsPerInch});
    std::vector<GraphMark> graphs;
    ReportArt art{ViewOf(logo), [&graphs, &surface](Surface&, Rect rect) {
                    graphs.push_back({surface.Records().size(), rect});
                  }};
    DrawReportPage(surface, page, report.settings, art);
    for (const std::string& line : DescribePageDrawing(surface.Records(), graphs)) PrintText(line + '\n');
  }
  return kExitOk;
}

int WriteReportPdf(OpenedReport& report, const std::string& path) {
  const auto application = OffscreenApplication();
  const QtFontMetrics metrics;
  const QImage logo = LoadLogo(report.settings);
  ChartCtrl chart;
  PrepareReportChart(chart, report.state.tables);

  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setCreator("QV70 Data Analysis");
    writer.setTitle("Report with QV70");
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(QPageLayout(ReportPageSize(report.settings.paperSize), QPageLayout::Portrait, QMarginsF()));
    const ReportSource source{report.settings, report.state.tables, chart, logo, metrics};
    if (!PaintReportPages(writer, source, AllReportPages(report.settings.reportPageCount)))
      return Refuse("Cannot draw the report.");
  }
  return WriteOutput(path, bytes, "report");
}

int WriteReportRtf(OpenedReport& report, const std::string& path) {
  const auto application = OffscreenApplication();
  const QtFontMetrics metrics;
  PictureImage logo;
  const QtPictureDecoder decoder;
  LoadReportLogo(logo, report.settings.picturePath, QCoreApplication::applicationDirPath().toStdString(), &decoder);
  ChartCtrl chart;
  PrepareReportChart(chart, report.state.tables);
  return ExitStatus(SaveReportRtf(path, report.settings, report.state.tables, chart, logo, metrics));
}

}  // namespace qv70::cli
