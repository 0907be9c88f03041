#include "core/graphs/graphs.h"

#include "core/chart/chart_ctrl.h"
#include "core/data/record_tables.h"
#include "core/graphs/graph_content.h"
#include "core/graphs/graph_texts.h"

namespace qv70 {
namespace {

constexpr Color kGraphRed = Color::Rgb(255, 0, 0);

bool IsRecord(int group, int record) {
  return group >= 0 && group < kGroupCount && record >= 0 && record < kRecordsPerGroup;
}

bool IsSet(int set) { return set >= 0 && set < kSetCount; }

// Every series goes, not only the first two: a report graph has three, and a
// frame left behind would be drawn against the next graph's axes.
void RemoveAllSeries(ChartCtrl& chart) {
  while (chart.SeriesCount() > 0) chart.RemoveSeries(0);
}

void SetAxes(ChartCtrl& chart, const char* leftCaption, ValueRange left, const char* bottomCaption,
             ValueRange bottom) {
  chart.LeftAxis().Caption().SetText(leftCaption);
  chart.LeftAxis().SetRange(left.minimum, left.maximum);
  chart.BottomAxis().Caption().SetText(bottomCaption);
  chart.BottomAxis().SetRange(bottom.minimum, bottom.maximum);
}

void SetLeftAxis(ChartCtrl& chart, const GraphContent& content) {
  chart.LeftAxis().Caption().SetText(content.leftCaption);
  chart.LeftAxis().SetRange(content.leftRange.minimum, content.leftRange.maximum);
}

void SetBottomRange(ChartCtrl& chart, const GraphContent& content) {
  chart.BottomAxis().SetRange(content.bottomRange.minimum, content.bottomRange.maximum);
}

void AddSeries(ChartCtrl& chart, int kind, Color color, const std::vector<ChartPoint>& points) {
  PlotSeries* series = chart.AddSeries(kind);
  series->SetColor(color);
  for (const ChartPoint& p : points) series->AppendPoint(p.x, p.y);
}

// The plot rectangle in data values, by the ranges the axes took.
std::vector<ChartPoint> FramePoints(ChartCtrl& chart) {
  const double xMin = chart.BottomAxis().Minimum();
  const double xMax = chart.BottomAxis().Maximum();
  const double yMin = chart.LeftAxis().Minimum();
  const double yMax = chart.LeftAxis().Maximum();
  return {{xMin, yMin}, {xMin, yMax}, {xMax, yMax}, {xMax, yMin}, {xMin, yMin}};
}

void ShowContent(ChartCtrl& chart, const GraphContent& content, GraphUse use) {
  RemoveAllSeries(chart);
  AddSeries(chart, kLineSeries, kGraphRed, content.line);
  AddSeries(chart, kPointSeries, kGraphRed, content.marks);
  if (use == GraphUse::Report) AddSeries(chart, kLineSeries, kBlack, FramePoints(chart));
  chart.Refresh();
}

const char* LeftStartCaption(GraphQuantity quantity) {
  return quantity == GraphQuantity::Resistance ? graph_text::kResistanceOhms : graph_text::kLeakCurrentNA;
}

double PrepareLoggingChart(ChartCtrl& chart, const RecordTables& tables, int set, GraphQuantity quantity) {
  if (!HasLoggingGraph(tables, set)) return 1;
  RemoveAllSeries(chart);
  SetAxes(chart, LeftStartCaption(quantity), {0, 1}, graph_text::kTime, {0, 2});
  chart.Refresh();
  const GraphContent content = LoggingGraphContent(tables, set, quantity, GraphUse::Report);
  SetLeftAxis(chart, content);
  SetBottomRange(chart, content);
  ShowContent(chart, content, GraphUse::Report);
  return content.divisor;
}

double PrepareStepChart(ChartCtrl& chart, const RecordTables& tables, int group, int record,
                        GraphQuantity quantity) {
  if (!IsRecord(group, record)) return 1;
  const bool resistance = quantity == GraphQuantity::Resistance;
  RemoveAllSeries(chart);
  SetAxes(chart, LeftStartCaption(quantity), {0, 1},
          resistance ? graph_text::kOutputVoltage : graph_text::kSetVoltage, {0, 3});
  chart.Refresh();
  if (!resistance && !HasStepGraph(tables, group, record)) return 1;
  const GraphContent content = StepGraphContent(tables, group, record, quantity, GraphUse::Report);
  SetBottomRange(chart, content);
  SetLeftAxis(chart, content);
  ShowContent(chart, content, GraphUse::Report);
  return content.divisor;
}

}  // namespace

bool HasStepGraph(const RecordTables& tables, int group, int record) {
  return IsRecord(group, record) && tables.Manual(RecordCopy::Raw, group, record, field::kTestType) ==
                                        TestTypeText(TestType::StepVoltage);
}

bool HasLoggingGraph(const RecordTables& tables, int set) {
  return IsSet(set) && tables.sampleCount[static_cast<std::size_t>(set)] > 0;
}

bool ShowStepGraph(ChartCtrl& chart, const RecordTables& tables, int group, int record) {
  if (!HasStepGraph(tables, group, record)) return false;
  RemoveAllSeries(chart);
  SetAxes(chart, graph_text::kResistanceOhms, {0, 1}, graph_text::kOutputVoltage, {0, 3});
  chart.Refresh();
  const GraphContent content =
      StepGraphContent(tables, group, record, GraphQuantity::Resistance, GraphUse::Screen);
  SetBottomRange(chart, content);
  SetLeftAxis(chart, content);
  ShowContent(chart, content, GraphUse::Screen);
  return true;
}

void ShowLoggingGraph(ChartCtrl& chart, const RecordTables& tables, int set) {
  RemoveAllSeries(chart);
  SetAxes(chart, graph_text::kResistanceOhms, {0, 10}, graph_text::kTime, {0, 10});
  chart.Refresh();
  if (!HasLoggingGraph(tables, set)) return;
  const GraphContent content = LoggingGraphContent(tables, set, GraphQuantity::Resistance, GraphUse::Screen);
  SetLeftAxis(chart, content);
  SetBottomRange(chart, content);
  ShowContent(chart, content, GraphUse::Screen);
}

double PrepareLoggingResistanceChart(ChartCtrl& chart, const RecordTables& tables, int set) {
  return PrepareLoggingChart(chart, tables, set, GraphQuantity::Resistance);
}

double PrepareLoggingCurrentChart(ChartCtrl& chart, const RecordTables& tables, int set) {
  return PrepareLoggingChart(chart, tables, set, GraphQuantity::LeakCurrent);
}

double PrepareStepResistanceChart(ChartCtrl& chart, const RecordTables& tables, int group, int record) {
  return PrepareStepChart(chart, tables, group, record, GraphQuantity::Resistance);
}

double PrepareStepCurrentChart(ChartCtrl& chart, const RecordTables& tables, int group, int record) {
  return PrepareStepChart(chart, tables, group, record, GraphQuantity::LeakCurrent);
}

}  // namespace qv70
