// The logging graph of a full set (360 samples) in its chart window: built
// and painted, as a tab change does, and repainted without a new layout (the
// layer copied, the series drawn on top), against drawing 360 line segments
// and 360 ellipses with QPainter into an image of the same size, in the same
// run. Runs headless (offscreen unless told otherwise).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <memory>
#include <string>

#include "core/data/record_tables.h"
#include "core/data/values.h"
#include "core/graphs/graphs.h"
#include "core/platform/scripted_ui_services.h"
#include "core/view/page_layout.h"
#include "gui/chart/graph_chart_ctrl.h"
#include "ratio_reporter.h"

namespace {

using namespace qv70;

constexpr int kViewWidth = 1260;
constexpr int kViewHeight = 900;
constexpr int kSet = 0;

// A set of 360 samples at 10 s, slowly rising, with a few over range.
std::unique_ptr<RecordTables> FullSet() {
  auto tables = std::make_unique<RecordTables>();
  for (RecordCopy copy : {RecordCopy::Raw, RecordCopy::Converted}) {
    tables->Header(copy, kSet, header::kInterval) = "10";
    for (int i = 0; i < kMaxSamples; ++i) {
      tables->Sample(copy, kSet, i, sample::kOutputVoltage) = "1000";
      tables->Sample(copy, kSet, i, sample::kResistance) =
          i % 97 == 50 ? "OF" : std::to_string(2000000000LL + 7000000LL * i + (i % 13) * 50000000LL);
    }
  }
  tables->sampleCount[kSet] = kMaxSamples;
  ConvertLoggingSet(*tables, kSet);
  return tables;
}

// The chart of the logging graph panel of a 1260 x 900 view.
QSize ChartSize() {
  const ViewLayout view = LayoutView(kViewWidth, kViewHeight);
  const LoggingPageLayout page = LayoutLoggingPage(view.page.Width(), view.page.Height(), true);
  const GraphPanelLayout panel = LayoutGraphPanel(page.loggingGraph.Width(), page.loggingGraph.Height());
  return {panel.chart.Width(), panel.chart.Height()};
}

struct Window {
  ScriptedUiServices ui;
  GraphChartCtrl chart{ui};
  std::unique_ptr<RecordTables> tables = FullSet();
  QImage image;

  Window() {
    chart.resize(ChartSize());
    image = QImage(chart.size(), QImage::Format_RGB32);
    ShowLoggingGraph(chart.Chart(), *tables, kSet);
    Paint();
  }
  void Paint() { chart.render(&image); }
};

void BM_LoggingGraphBuildAndPaint(benchmark::State& state) {
  Window window;
  for (auto _ : state) {
    ShowLoggingGraph(window.chart.Chart(), *window.tables, kSet);
    window.Paint();
  }
  state.counters["width"] = window.image.width();
  state.counters["height"] = window.image.height();
}

void BM_LoggingGraphRepaint(benchmark::State& state) {
  Window window;
  for (auto _ : state) window.Paint();
}

// The series' own drawing, with nothing of the chart around it.
void BM_PlainLinesAndEllipses(benchmark::State& state) {
  const QSize size = ChartSize();
  QImage image(size, QImage::Format_RGB32);
  std::vector<QPoint> points;
  for (int i = 0; i < kMaxSamples; ++i)
    points.emplace_back(40 + i * (size.width() - 60) / kMaxSamples, 20 + (i * 37) % (size.height() - 60));
  for (auto _ : state) {
    QPainter painter(&image);
    painter.fillRect(image.rect(), Qt::white);
    painter.setPen(QPen(Qt::red, 0));
    for (std::size_t i = 1; i < points.size(); ++i) painter.drawLine(points[i - 1], points[i]);
    painter.drawLine(points.back(), points.back() + QPoint(3, 0));
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::red);
    for (const QPoint& p : points) painter.drawEllipse(QRect(p.x() - 2, p.y() - 2, 3, 3));
  }
}

BENCHMARK(BM_LoggingGraphBuildAndPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoggingGraphRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainLinesAndEllipses)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  static const char* const pairs[][2] = {
      {"BM_LoggingGraphBuildAndPaint", "BM_PlainLinesAndEllipses"},
      {"BM_LoggingGraphRepaint", "BM_PlainLinesAndEllipses"},
  };
  return qv70::bench::RunWithRatios(argc, argv, pairs);
}
