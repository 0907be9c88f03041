#include "core/files/data_file.h"

#include <string>
#include <unordered_map>

#include "core/data/record_tables.h"
#include "core/data/values.h"

namespace qv70 {

namespace {

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// Temperature and humidity of a header are shown with one decimal after the
// three-figure rounding; a blank or empty cell stays as it is.
void RoundHeaderValue(std::string& converted) {
  if (converted.empty() || converted == " ") return;
  converted = FormatFixed(TextToDouble(FormatThreeFigures(converted)), 1);
}

// The sample conversions are pure functions of the loaded text and a logging set
// repeats the same voltages (and often resistances) many times; remembering the
// results spares most of the printf and strtod work of a full file.
class SampleConversions {
 public:
  SampleConversions() {
    voltages_.reserve(512);
    resistances_.reserve(4096);
  }

  const std::string& Voltage(const std::string& loaded) {
    auto [it, added] = voltages_.try_emplace(loaded);
    if (added) it->second = FormatThreeFigures(FormatFixed(TextToDouble(loaded) / 1000, 6));
    return it->second;
  }

  const std::string& Resistance(const std::string& loaded) {
    auto [it, added] = resistances_.try_emplace(loaded);
    if (added) it->second = FormatThreeFigures(FormatFixed(TextToDouble(loaded) / 1e9, 16));
    return it->second;
  }

 private:
  std::unordered_map<std::string, std::string> voltages_;
  std::unordered_map<std::string, std::string> resistances_;
};

}  // namespace

void InstallLoadedData(RecordTables& tables) {
  tables.SetCounts(tables.LoadedCounts());

  TableCopy& raw = tables.Copy(RecordCopy::Raw);
  TableCopy& converted = tables.Copy(RecordCopy::Converted);
  TableCopy& display = tables.Copy(RecordCopy::Display);
  const TableCopy& loaded = tables.Copy(RecordCopy::Loaded);
  raw.Clear();
  converted.Clear();
  display.Clear();

  for (int g = 0; g < kGroupCount; ++g) {
    for (int r = 0; r < kRecordsPerGroup; ++r) {
      raw.manual[g][r] = loaded.manual[g][r];
      converted.manual[g][r] = loaded.manual[g][r];
    }
  }

  for (int s = 0; s < kSetCount; ++s) {
    for (int f = 0; f < kHeaderFieldCount; ++f) {
      const std::string& text = loaded.headers[s][static_cast<size_t>(f)];
      // A lone "E" is the instrument's error mark: kept raw, shown empty.
      raw.headers[s][static_cast<size_t>(f)] = text;
      converted.headers[s][static_cast<size_t>(f)] = text == "E" ? std::string() : text;
    }
    RoundHeaderValue(converted.headers[s][header::kTemperature]);
    RoundHeaderValue(converted.headers[s][header::kHumidity]);
    tables.BuildDisplayHeader(s);
  }

  SampleConversions conversions;
  for (int s = 0; s < kSetCount; ++s) {
    const int count = tables.sampleCount[static_cast<size_t>(s)];
    for (int i = 0; i < count; ++i) {
      const LoggingSample& in = loaded.samples[s][i];
      LoggingSample& rawSample = raw.samples[s][i];
      LoggingSample& convertedSample = converted.samples[s][i];
      rawSample = in;
      const std::string& voltage = in[sample::kOutputVoltage];
      const std::string& resistance = in[sample::kResistance];
      convertedSample[sample::kOutputVoltage] = conversions.Voltage(voltage);
      if (Contains(resistance, "OF")) {
        rawSample[sample::kResistance] = "OF";
        convertedSample[sample::kResistance] = "OF";
      } else {
        convertedSample[sample::kResistance] = conversions.Resistance(resistance);
      }
    }
    ComputeSampleTimes(tables, converted.headers[s][header::kDate], converted.headers[s][header::kTime], s,
                       TextToInt(converted.headers[s][header::kInterval]));
    for (int i = 0; i < count; ++i)
      for (int f = 0; f < kSampleFieldCount; ++f)
        display.samples[s][i][static_cast<size_t>(f)] =
            tables.DisplayText(converted.samples[s][i][static_cast<size_t>(f)]);
  }

  for (int g = 0; g < kGroupCount; ++g) {
    for (int r = 0; r < kRecordsPerGroup; ++r) ConvertManualRecord(tables, g, r);
    tables.BuildDisplayRecords(g);
  }
}

}  // namespace qv70
