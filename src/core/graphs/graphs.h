#pragma once

namespace qv70 {

class ChartCtrl;
class RecordTables;

// The graphs of the two data pages and of the report pages, built into a
// chart from the record tables. Each builder empties the chart's series, sets
// the captions and ranges, adds a red line and red marks (and in reports a
// black frame around the plot) and refreshes the chart. A group, record or
// set outside the tables has no graph.

// The step graph of a record whose raw test type is "Step Voltage Test":
// true. Any other record gives false and leaves the chart as it was.
bool ShowStepGraph(ChartCtrl& chart, const RecordTables& tables, int group, int record);
// The logging graph of a set; a set without samples leaves empty default axes.
void ShowLoggingGraph(ChartCtrl& chart, const RecordTables& tables, int set);

// The report graphs. Each returns the divisor of its vertical axis's unit
// (resistance 1 ... 10^12, leak current 0.001 ... 10^9), or 1 when there is
// nothing to plot: a logging set without samples leaves the chart as it was,
// a step current graph of a record that is not a Step Voltage Test shows
// empty axes.
double PrepareLoggingResistanceChart(ChartCtrl& chart, const RecordTables& tables, int set);
double PrepareLoggingCurrentChart(ChartCtrl& chart, const RecordTables& tables, int set);
double PrepareStepResistanceChart(ChartCtrl& chart, const RecordTables& tables, int group, int record);
double PrepareStepCurrentChart(ChartCtrl& chart, const RecordTables& tables, int group, int record);

// Whether a record has a step graph: its raw test type is "Step Voltage Test".
bool HasStepGraph(const RecordTables& tables, int group, int record);
// Whether a set has a logging graph: it has samples.
bool HasLoggingGraph(const RecordTables& tables, int set);

}  // namespace qv70
