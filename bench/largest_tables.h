#pragma once

// The largest data the tables allow: 10 groups of 10 records (Normal, TC and
// Step Voltage Tests in turn) and 10 logging sets of 360 samples, with
// plausible values, installed as an open leaves them.

#include <string>

#include "core/data/program_state.h"
#include "core/files/data_file.h"

namespace qv70::bench {

inline void FillLargestTables(RecordTables& tables) {
  static const char* const kTypes[] = {"Normal Test", "TC Test", "Step Voltage Test"};
  CountList counts{};
  for (auto& count : counts) count = 0;
  for (int g = 0; g < kGroupCount; ++g) {
    counts[static_cast<size_t>(g)] = kRecordsPerGroup;
    for (int r = 0; r < kRecordsPerGroup; ++r) {
      ManualRecord& record = tables.Copy(RecordCopy::Loaded).manual[g][r];
      record[0] = std::string(1, GroupLetter(g)) + std::to_string(r);
      record[1] = kTypes[(g + r) % 3];
      record[2] = "2009-12-01";
      record[3] = "10:15:00";
      for (int f = 4; f < kManualFieldCount; ++f) record[static_cast<size_t>(f)] = std::to_string(1234567 * (f + r));
      record[5] = "23.5";
      record[6] = "45.0";
      record[13] = "2.83";
    }
  }
  for (int s = 0; s < kSetCount; ++s) {
    counts[static_cast<size_t>(kGroupCount + s)] = kMaxSamples;
    LoggingHeader& header = tables.Copy(RecordCopy::Loaded).headers[s];
    header = {"L" + std::to_string(s), "Logging", "2009-12-31", "23:59:30", "60", "23.5", "45.0", "1000"};
    for (int i = 0; i < kMaxSamples; ++i) {
      tables.Copy(RecordCopy::Loaded).samples[s][i][sample::kOutputVoltage] = std::to_string(1000 + i % 7);
      tables.Copy(RecordCopy::Loaded).samples[s][i][sample::kResistance] =
          i % 50 == 0 ? "OF" : std::to_string(5230000000LL + i * 1000003LL);
    }
  }
  tables.SetLoadedCounts(counts);
  tables.info = {"ZAVEL QV70 Ver1.10,0,0", "09120345", "1", "10", "1", "[min]"};
  InstallLoadedData(tables);
}

}  // namespace qv70::bench
