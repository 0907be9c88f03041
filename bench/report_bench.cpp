// The largest report (10 logging sets of 360 samples and 100 records: 110
// pages) rendered to a PDF file, and one logging page drawn as the preview
// records it, against the same number of pages of plain text (40 lines each)
// drawn onto the same kind of device in the same run. Runs headless.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/chart/chart_ctrl.h"
#include "core/report/report_finish.h"
#include "core/report/report_start.h"
#include "gui/draw/qt_font_metrics.h"
#include "gui/print/report_painter.h"
#include "largest_tables.h"
#include "ratio_reporter.h"

namespace {

using namespace qv70;

constexpr int kLinesPerPage = 40;

struct LargestReport {
  ProgramState state;
  ReportSettings settings;
  ChartCtrl chart;
  QImage logo;
  QtFontMetrics metrics;
  std::string pdf;

  LargestReport() {
    bench::FillLargestTables(state.tables);
    ReportStart start;
    start.dateText = "2026-12-9";
    const ReportSettings initial = StartReportSettings(start);
    ReportChoices choices;
    choices.first = ChoicesFromSettings(initial, start.dateText);
    choices.itemFlags = std::string(kItemFlagCount, '1');
    choices.stepGraphKind = initial.stepGraphKind;
    choices.loggingGraphKind = initial.loggingGraphKind;
    ResultOf<ReportSettings> finished = FinishReport(choices, state.tables);
    if (!finished) std::abort();
    settings = finished.value;
    char pattern[] = "/tmp/qv70-report-bench-XXXXXX";
    pdf = std::string(mkdtemp(pattern)) + "/report.pdf";
  }
  ~LargestReport() {
    std::remove(pdf.c_str());
    rmdir(pdf.substr(0, pdf.rfind('/')).c_str());
  }
  ReportSource Source() { return {settings, state.tables, chart, logo, metrics}; }
};

LargestReport& Report() {
  static LargestReport report;
  return report;
}

void SetUpWriter(QPdfWriter& writer) {
  writer.setPageSize(ReportPageSize(PaperSize::A4));
  writer.setResolution(1200);
}

void PlainTextPage(QPainter& painter, const QPaintDevice& device, int page) {
  painter.setFont(QFont("Liberation Sans", 14));
  const int step = device.height() / (kLinesPerPage + 2);
  for (int line = 0; line < kLinesPerPage; ++line)
    painter.drawText(step, step * (line + 1), QString("Page %1, line %2: 1.23 [GOhms]").arg(page).arg(line));
}

void BM_ReportToPdf(benchmark::State& state) {
  LargestReport& report = Report();
  const std::vector<int> pages = AllReportPages(report.settings.reportPageCount);
  for (auto _ : state) {
    QPdfWriter writer(QString::fromStdString(report.pdf));
    SetUpWriter(writer);
    if (!PaintReportPages(writer, report.Source(), pages)) state.SkipWithError("painting failed");
  }
  state.counters["pages"] = static_cast<double>(pages.size());
}

void BM_Baseline_PlainTextPdf(benchmark::State& state) {
  LargestReport& report = Report();
  for (auto _ : state) {
    QPdfWriter writer(QString::fromStdString(report.pdf));
    SetUpWriter(writer);
    QPainter painter(&writer);
    for (int page = 1; page <= report.settings.reportPageCount; ++page) {
      if (page > 1) writer.newPage();
      PlainTextPage(painter, writer, page);
    }
  }
}

// The preview paints each page it shows through a printer of the paper's
// resolution: one logging page of 360 samples, the heaviest kind.
void BM_OneLoggingPageForThePreview(benchmark::State& state) {
  LargestReport& report = Report();
  for (auto _ : state) {
    QPdfWriter device(QString::fromStdString(report.pdf));
    SetUpWriter(device);
    if (!PaintReportPages(device, report.Source(), {1})) state.SkipWithError("painting failed");
  }
}

void BM_Baseline_OnePlainTextPage(benchmark::State& state) {
  LargestReport& report = Report();
  for (auto _ : state) {
    QPdfWriter writer(QString::fromStdString(report.pdf));
    SetUpWriter(writer);
    QPainter painter(&writer);
    PlainTextPage(painter, writer, 1);
  }
}

BENCHMARK(BM_ReportToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Baseline_PlainTextPdf)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OneLoggingPageForThePreview)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_OnePlainTextPage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  static const char* const pairs[][2] = {
      {"BM_ReportToPdf/iterations:3", "BM_Baseline_PlainTextPdf/iterations:3"},
      {"BM_OneLoggingPageForThePreview", "BM_Baseline_OnePlainTextPage"},
  };
  return qv70::bench::RunWithRatios(argc, argv, pairs);
}
