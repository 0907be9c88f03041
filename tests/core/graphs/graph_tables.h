#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "core/data/record_tables.h"
#include "core/data/values.h"

namespace qv70::test {

// A manual record as the instrument sends it, converted as a download does.
struct StepRecordValues {
  std::string setVoltage;
  std::array<std::string, 5> voltages;     // volts
  std::array<std::string, 5> resistances;  // ohms, or "OF"
  std::string testType = "Step Voltage Test";
};

inline void PutStepRecord(RecordTables& tables, int group, int record, const StepRecordValues& values) {
  for (RecordCopy copy : {RecordCopy::Raw, RecordCopy::Converted}) {
    ManualRecord& r = tables.Record(copy, group, record);
    r[field::kTestType] = values.testType;
    r[field::kSetVoltage] = values.setVoltage;
    for (int step = 0; step < 5; ++step) {
      r[static_cast<std::size_t>(field::kStep1Voltage + 2 * step)] = values.voltages[static_cast<std::size_t>(step)];
      r[static_cast<std::size_t>(field::kStep1Voltage + 2 * step + 1)] =
          values.resistances[static_cast<std::size_t>(step)];
    }
  }
  tables.recordCount[static_cast<std::size_t>(group)] = kRecordsPerGroup;
  ConvertManualRecord(tables, group, record);
}

// A logging set: its interval in seconds and (volts, ohms or "OF") per sample.
inline void PutLoggingSet(RecordTables& tables, int set, const std::string& interval,
                          const std::vector<std::pair<std::string, std::string>>& samples) {
  for (RecordCopy copy : {RecordCopy::Raw, RecordCopy::Converted}) {
    tables.Header(copy, set, header::kInterval) = interval;
    for (std::size_t i = 0; i < samples.size(); ++i) {
      tables.Sample(copy, set, static_cast<int>(i), sample::kOutputVoltage) = samples[i].first;
      tables.Sample(copy, set, static_cast<int>(i), sample::kResistance) = samples[i].second;
    }
  }
  tables.sampleCount[static_cast<std::size_t>(set)] = static_cast<int>(samples.size());
  ConvertLoggingSet(tables, set);
}

inline std::vector<std::pair<std::string, std::string>> SameSamples(int count, const std::string& volts,
                                                                   const std::string& ohms) {
  return std::vector<std::pair<std::string, std::string>>(static_cast<std::size_t>(count), {volts, ohms});
}

}  // namespace qv70::test
