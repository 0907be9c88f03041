// Filling and painting the two kinds of table in their grid widgets, as a tab
// switch (every cell written, then the part in view painted) and as a repaint,
// against painting the same visible cells as plain text into an image of the
// same size, in the same run. Runs headless (offscreen unless told otherwise).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "core/view/page_layout.h"
#include "core/view/table_content.h"
#include "gui/grid/record_grid_widget.h"
#include "ratio_reporter.h"

namespace {

using namespace qv70;

// The main view of a 1280 x 1024 window, its pages and their table panels.
constexpr int kViewWidth = 1260;
constexpr int kViewHeight = 900;

using Texts = std::vector<std::vector<std::string>>;

struct Table {
  std::unique_ptr<RecordGridWidget> widget;
  Texts texts;
  QImage image;
};

Texts LoggingTexts() {
  Texts texts(kLoggingTableRows, std::vector<std::string>(kLoggingTableColumns));
  for (int c = 0; c < kLoggingTableColumns; ++c) texts[0][c] = LoggingColumnTitle(c);
  for (int i = 0; i < kLoggingTableRows - 1; ++i) {
    const int seconds = 10 * (i + 1);
    texts[i + 1] = {std::to_string(i + 1), "2026-12-09",
                    "10:" + std::to_string(10 + seconds / 60 % 50) + ":" + std::to_string(10 + seconds % 50),
                    std::to_string(seconds / 60) + "min" + std::to_string(seconds % 60) + "s", "5.01",
                    i % 50 == 0 ? "OF" : std::to_string(100 + i % 900)};
  }
  return texts;
}

Texts ManualTexts() {
  const int cols = ManualColumnCount(kFilterAll);
  Texts texts(kManualTableRows, std::vector<std::string>(cols));
  for (int c = 0; c < cols; ++c) texts[0][c] = ManualColumnTitle(kFilterAll, c);
  const char* values[] = {"Normal Test", "2026-12-09", "10:11:12", "10min0s", "23.4", "45.6", "5.00", "5.01", "250"};
  for (int r = 1; r < kManualTableRows; ++r) {
    texts[r][0] = RecordLabel(0, r - 1);
    for (int c = 1; c < cols; ++c) texts[r][c] = c <= 9 ? values[c - 1] : std::to_string(r * 100 + c) + ".5";
  }
  return texts;
}

void Fill(RecordGridCtrl& grid, const Texts& texts) {
  for (int r = 0; r < static_cast<int>(texts.size()); ++r)
    for (int c = 0; c < static_cast<int>(texts[r].size()); ++c) grid.SetCellText(r, c, texts[r][c]);
}

// A grid set up as the table pages set theirs up, at the size of its panel.
Table MakeTable(Texts texts, int titleRowHeight, const LayoutRect& panel) {
  Table table{std::make_unique<RecordGridWidget>(), std::move(texts), {}};
  RecordGridCtrl& grid = table.widget->Grid();
  const int rows = static_cast<int>(table.texts.size());
  grid.SetColumnCount(static_cast<int>(table.texts[0].size()));
  grid.SetRowCount(rows);
  grid.SetFixedRows(1);
  grid.SetFixedColumns(1);
  Fill(grid, table.texts);
  grid.FitColumnToText(0);
  for (int c = 1; c < grid.GetColumnCount(); ++c) grid.SetColumnWidth(c, kTableColumnWidth);
  grid.SetRowHeight(0, titleRowHeight);
  for (int r = 1; r < rows && rows == kLoggingTableRows; ++r) grid.SetRowHeight(r, kSampleRowHeight);
  grid.SetOutsideColor(GridColor::FromRgb(0xffffff));
  table.widget->resize(panel.Width(), panel.Height());
  table.widget->show();
  QApplication::processEvents();
  table.widget->Refresh();
  table.image = QImage(table.widget->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
  return table;
}

Table LoggingTable() {
  const ViewLayout view = LayoutView(kViewWidth, kViewHeight);
  const LoggingPageLayout page = LayoutLoggingPage(view.page.Width(), view.page.Height(), true);
  return MakeTable(LoggingTexts(), 36, page.tablePanel);
}

Table ManualTable() {
  const ViewLayout view = LayoutView(kViewWidth, kViewHeight);
  const ManualPageLayout page = LayoutManualPage(view.page.Width(), view.page.Height(), false);
  return MakeTable(ManualTexts(), 36, page.tablePanel);
}

void Paint(Table& table) { table.widget->viewport()->render(&table.image); }

void TabSwitch(benchmark::State& state, Table table) {
  for (auto _ : state) {
    Fill(table.widget->Grid(), table.texts);
    table.widget->Refresh();
    Paint(table);
  }
}

void FillOnly(benchmark::State& state, Table table) {
  for (auto _ : state) {
    Fill(table.widget->Grid(), table.texts);
    benchmark::ClobberMemory();
  }
}

void Repaint(benchmark::State& state, Table table) {
  for (auto _ : state) Paint(table);
}

// The cells the grid paints, drawn as plain text in the same font and places.
void PlainText(benchmark::State& state, Table table) {
  const RecordGridCtrl& grid = table.widget->Grid();
  const GridPaintList list = grid.GetPaintList();
  std::vector<std::pair<QRect, QString>> cells;
  for (const auto* part : {&list.fixedCells, &list.scrolledCells})
    for (const GridPaintCell& cell : *part)
      cells.emplace_back(QRect(cell.rect.left, cell.rect.top, cell.rect.width, cell.rect.height),
                         QString::fromStdString(grid.GetCellText(cell.cell.row, cell.cell.col)));
  state.counters["cells"] = static_cast<double>(cells.size());
  for (auto _ : state) {
    QPainter painter(&table.image);
    painter.fillRect(table.image.rect(), Qt::white);
    painter.setFont(table.widget->Fonts().Font(false));
    for (const auto& [rect, text] : cells) painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop, text);
  }
}

void BM_LoggingTabSwitch(benchmark::State& state) { TabSwitch(state, LoggingTable()); }
void BM_LoggingFill(benchmark::State& state) { FillOnly(state, LoggingTable()); }
void BM_LoggingRepaint(benchmark::State& state) { Repaint(state, LoggingTable()); }
void BM_LoggingPlainText(benchmark::State& state) { PlainText(state, LoggingTable()); }
void BM_ManualTabSwitch(benchmark::State& state) { TabSwitch(state, ManualTable()); }
void BM_ManualFill(benchmark::State& state) { FillOnly(state, ManualTable()); }
void BM_ManualRepaint(benchmark::State& state) { Repaint(state, ManualTable()); }
void BM_ManualPlainText(benchmark::State& state) { PlainText(state, ManualTable()); }

BENCHMARK(BM_LoggingTabSwitch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoggingFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoggingRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoggingPlainText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ManualTabSwitch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ManualFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ManualRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ManualPlainText)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  static const char* const pairs[][2] = {
      {"BM_LoggingTabSwitch", "BM_LoggingPlainText"}, {"BM_LoggingRepaint", "BM_LoggingPlainText"},
      {"BM_LoggingFill", "BM_LoggingPlainText"},      {"BM_ManualTabSwitch", "BM_ManualPlainText"},
      {"BM_ManualRepaint", "BM_ManualPlainText"},     {"BM_ManualFill", "BM_ManualPlainText"},
  };
  return qv70::bench::RunWithRatios(argc, argv, pairs);
}
