#pragma once

#include <string>
#include <vector>

#include "core/chart/plot_series.h"

namespace qv70 {

class RecordTables;

// What a graph plots against the step voltage or the time.
enum class GraphQuantity { Resistance, LeakCurrent };
// On screen, or in a report page (a black frame, other start values).
enum class GraphUse { Screen, Report };

// A value the graph cannot place: an over-range resistance, a current that
// cannot be worked out, anything negative or not finite. The line rises to
// the top edge of the plot around it and it gets no mark.
constexpr double kOffScale = -2.0;
bool IsOffScale(double value);

// Ohms from a raw resistance text: off-scale when it holds "OF", else the
// number it reads as (an empty text reads 0).
double ResistanceValue(const std::string& rawResistance);
// Nanoamperes from a raw resistance and the converted voltage (kV) and
// resistance (GOhm) beside it. A raw resistance that reads 0 gives 0 when it
// is "OF" (no measurable current) and off-scale otherwise; so does one whose
// converted text reads 0 (below half a kilo-ohm), which has no finite current.
double LeakCurrentValue(const std::string& rawResistance, const std::string& convertedVoltage,
                        const std::string& convertedResistance);

// The five step values of a manual record, in step order.
std::vector<double> StepValues(const RecordTables& tables, int group, int record, GraphQuantity quantity);
// The values of the set's samples below its count, in order.
std::vector<double> LoggingValues(const RecordTables& tables, int set, GraphQuantity quantity);

struct GraphUnit {
  const char* caption;
  double divisor;  // what the values in the base unit are divided by
};

// Step graphs switch units at exactly 1000, 10^6, ... ohms; logging graphs
// only above them.
enum class UnitThreshold { AtLeast, Above };
GraphUnit ResistanceUnit(double maximum, UnitThreshold threshold);
// nA by default; pA below 1 nA; uA, mA, A above 10^3, 10^6, 10^9 nA.
GraphUnit LeakCurrentUnit(double maximum);
// A value in the unit; off-scale values stay off-scale. pA multiplies by
// 1000 rather than dividing by 0.001, which would not give whole numbers.
double InUnit(double value, const GraphUnit& unit);

// The largest value on scale, and at least `start`.
double LargestValue(const std::vector<double>& values, double start);

struct ValueRange {
  double minimum = 0;
  double maximum = 0;

  bool operator==(const ValueRange& o) const { return minimum == o.minimum && maximum == o.maximum; }
};

// The step positions in kV: 1 kV apart at a set voltage of exactly "5000",
// else 0.5 kV.
double StepSpacing(const std::string& rawSetVoltage);

// A graph as plain values: captions, ranges and the points of its two red
// series. A report graph's frame follows the ranges the chart takes.
struct GraphContent {
  std::string leftCaption;
  ValueRange leftRange;
  std::string bottomCaption;
  ValueRange bottomRange;
  double divisor = 1;
  std::vector<ChartPoint> line;   // red, rising to the top edge around off-scale values
  std::vector<ChartPoint> marks;  // red, one per value on scale
};

// The step graph of a record (Step Voltage Test) and the logging graph of a
// set (with samples); the on-screen graphs plot resistance only.
GraphContent StepGraphContent(const RecordTables& tables, int group, int record, GraphQuantity quantity,
                              GraphUse use);
GraphContent LoggingGraphContent(const RecordTables& tables, int set, GraphQuantity quantity, GraphUse use);

}  // namespace qv70
