#include "core/graphs/graph_content.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "core/data/record_tables.h"
#include "core/data/values.h"
#include "core/graphs/graph_texts.h"

namespace qv70 {
namespace {

constexpr int kSteps = 5;

bool HoldsOverRange(const std::string& text) { return text.find("OF") != std::string::npos; }

bool Exceeds(double maximum, double threshold, UnitThreshold rule) {
  return rule == UnitThreshold::AtLeast ? maximum >= threshold : maximum > threshold;
}

int SampleCount(const RecordTables& tables, int set) {
  return std::clamp(tables.sampleCount[static_cast<std::size_t>(set)], 0, kMaxSamples);
}

std::vector<double> InUnit(std::vector<double> values, const GraphUnit& unit) {
  for (double& v : values) v = InUnit(v, unit);
  return values;
}

// The red line and marks. An off-scale value sends the line to y, above the
// top of the vertical axis, from the previous position to the next one (one
// past the last for the last value), so it runs along the plot's top edge.
void AddPoints(GraphContent& content, const std::vector<double>& values, double maximum,
               const std::function<double(int)>& position) {
  const double aboveTop = 2 * maximum + 999;
  for (int i = 0; i < static_cast<int>(values.size()); ++i) {
    const double v = values[static_cast<std::size_t>(i)];
    if (!IsOffScale(v)) {
      content.line.push_back({position(i), v});
      content.marks.push_back({position(i), v});
      continue;
    }
    if (i >= 1) content.line.push_back({position(i - 1), aboveTop});
    content.line.push_back({position(i + 1), aboveTop});
  }
}

ValueRange RangeFrom(double maximum, double topFactor) {
  if (maximum == 0) return {-0.1, 2.0};
  return {-maximum / 10, topFactor * maximum};
}

}  // namespace

bool IsOffScale(double value) { return !std::isfinite(value) || value < 0; }

double ResistanceValue(const std::string& rawResistance) {
  return HoldsOverRange(rawResistance) ? kOffScale : TextToDouble(rawResistance);
}

double LeakCurrentValue(const std::string& rawResistance, const std::string& convertedVoltage,
                        const std::string& convertedResistance) {
  if (TextToDouble(rawResistance) == 0) return HoldsOverRange(rawResistance) ? 0.0 : kOffScale;
  const double gigaohms = TextToDouble(convertedResistance);
  if (gigaohms == 0) return kOffScale;
  const double current = TextToDouble(convertedVoltage) / gigaohms * 1000;
  return IsOffScale(current) ? kOffScale : current;
}

std::vector<double> StepValues(const RecordTables& tables, int group, int record, GraphQuantity quantity) {
  std::vector<double> values;
  for (int step = 0; step < kSteps; ++step) {
    const int resistanceField = field::kStep1Voltage + 2 * step + 1;
    const std::string& raw = tables.Manual(RecordCopy::Raw, group, record, resistanceField);
    if (quantity == GraphQuantity::Resistance) {
      values.push_back(ResistanceValue(raw));
    } else {
      values.push_back(
          LeakCurrentValue(raw, tables.Manual(RecordCopy::Converted, group, record, resistanceField - 1),
                           tables.Manual(RecordCopy::Converted, group, record, resistanceField)));
    }
  }
  return values;
}

std::vector<double> LoggingValues(const RecordTables& tables, int set, GraphQuantity quantity) {
  std::vector<double> values;
  const int count = SampleCount(tables, set);
  for (int i = 0; i < count; ++i) {
    const std::string& raw = tables.Sample(RecordCopy::Raw, set, i, sample::kResistance);
    if (quantity == GraphQuantity::Resistance) {
      values.push_back(ResistanceValue(raw));
    } else {
      values.push_back(LeakCurrentValue(raw,
                                        tables.Sample(RecordCopy::Converted, set, i, sample::kOutputVoltage),
                                        tables.Sample(RecordCopy::Converted, set, i, sample::kResistance)));
    }
  }
  return values;
}

GraphUnit ResistanceUnit(double maximum, UnitThreshold threshold) {
  GraphUnit unit{graph_text::kResistanceOhms, 1};
  if (Exceeds(maximum, 1e3, threshold)) unit = {graph_text::kResistanceKOhms, 1e3};
  if (Exceeds(maximum, 1e6, threshold)) unit = {graph_text::kResistanceMOhms, 1e6};
  if (Exceeds(maximum, 1e9, threshold)) unit = {graph_text::kResistanceGOhms, 1e9};
  if (Exceeds(maximum, 1e12, threshold)) unit = {graph_text::kResistanceTOhms, 1e12};
  return unit;
}

GraphUnit LeakCurrentUnit(double maximum) {
  GraphUnit unit{graph_text::kLeakCurrentNA, 1};
  if (maximum < 1) unit = {graph_text::kLeakCurrentPA, 0.001};
  if (maximum > 1e3) unit = {graph_text::kLeakCurrentUA, 1e3};
  if (maximum > 1e6) unit = {graph_text::kLeakCurrentMA, 1e6};
  if (maximum > 1e9) unit = {graph_text::kLeakCurrentA, 1e9};
  return unit;
}

double InUnit(double value, const GraphUnit& unit) {
  if (IsOffScale(value)) return kOffScale;
  // A smaller unit multiplies by its whole factor: 0.4 nA is 400 pA exactly.
  return unit.divisor < 1 ? value * std::round(1 / unit.divisor) : value / unit.divisor;
}

double LargestValue(const std::vector<double>& values, double start) {
  double largest = start;
  for (double v : values)
    if (!IsOffScale(v)) largest = std::max(largest, v);
  return largest;
}

double StepSpacing(const std::string& rawSetVoltage) { return rawSetVoltage == "5000" ? 1.0 : 0.5; }

GraphContent StepGraphContent(const RecordTables& tables, int group, int record, GraphQuantity quantity,
                              GraphUse use) {
  const bool resistance = quantity == GraphQuantity::Resistance;
  const double spacing = StepSpacing(tables.Manual(RecordCopy::Raw, group, record, field::kSetVoltage));
  GraphContent content;
  content.bottomCaption = resistance ? graph_text::kOutputVoltage : graph_text::kSetVoltage;
  content.bottomRange = {resistance ? -0.05 : 0.0, 6 * spacing};

  const std::vector<double> values = StepValues(tables, group, record, quantity);
  const double largest = LargestValue(values, resistance || use == GraphUse::Screen ? 1.0 : 0.0);
  const GraphUnit unit =
      resistance ? ResistanceUnit(largest, UnitThreshold::AtLeast) : LeakCurrentUnit(largest);
  double maximum = InUnit(largest, unit);
  content.leftCaption = unit.caption;
  content.divisor = unit.divisor;
  if (resistance) {
    content.leftRange = RangeFrom(maximum, 2.0);
  } else {
    // No current at all still gets a small axis; the raised line of an
    // off-scale value goes with it.
    if (maximum == 0) maximum = 0.65;
    content.leftRange = {-maximum / 10, 1.35 * maximum};
  }
  AddPoints(content, InUnit(values, unit), maximum, [spacing](int i) { return (i + 1) * spacing; });
  return content;
}

GraphContent LoggingGraphContent(const RecordTables& tables, int set, GraphQuantity quantity, GraphUse use) {
  const bool resistance = quantity == GraphQuantity::Resistance;
  const double interval = TextToDouble(tables.Header(RecordCopy::Raw, set, header::kInterval));
  const int count = SampleCount(tables, set);
  GraphContent content;
  content.bottomCaption = graph_text::kTime;
  content.bottomRange = {0.0, interval / 60 * (count + 1)};

  const std::vector<double> values = LoggingValues(tables, set, quantity);
  const double largest = LargestValue(values, use == GraphUse::Screen ? 1.0 : 0.0);
  const GraphUnit unit =
      resistance ? ResistanceUnit(largest, UnitThreshold::Above) : LeakCurrentUnit(largest);
  const double maximum = InUnit(largest, unit);
  content.leftCaption = unit.caption;
  content.divisor = unit.divisor;
  content.leftRange = RangeFrom(maximum, resistance ? 1.65 : 1.35);
  AddPoints(content, InUnit(values, unit), maximum, [interval](int i) { return interval * (i + 1) / 60; });
  return content;
}

}  // namespace qv70
