// Converting a full set of tables (10 groups x 10 records of mixed types, 10 sets
// x 360 samples) against copying the same cells, in the same run.

#include <benchmark/benchmark.h>

#include "core/data/record_tables.h"
#include "core/data/values.h"
#include "ratio_reporter.h"

namespace {

using namespace qv70;

void Receive(RecordTables& tables, int g, int r, int f, const std::string& text) {
  tables.Manual(RecordCopy::Raw, g, r, f) = text;
  tables.Manual(RecordCopy::Converted, g, r, f) = text;
}

// Fills the raw and converted copies as a download delivers them.
void FillAsReceived(RecordTables& tables) {
  for (int g = 0; g < kGroupCount; ++g) {
    for (int r = 0; r < kRecordsPerGroup; ++r) {
      const TestType type = kTestTypes[static_cast<size_t>((g + r) % 3)];
      Receive(tables, g, r, field::kDataNo, std::string(1, GroupLetter(g)) + std::to_string(r));
      Receive(tables, g, r, field::kTestType, TestTypeText(type));
      Receive(tables, g, r, field::kDate, "2026-12-09");
      Receive(tables, g, r, field::kTime, "10:11:12");
      Receive(tables, g, r, field::kTemperature, "23.4");
      Receive(tables, g, r, field::kHumidity, "45.6");
      Receive(tables, g, r, field::kSetVoltage, "5000");
      if (type == TestType::StepVoltage) {
        Receive(tables, g, r, field::kStepInterval, "60");
        for (int f = 24; f < 34; f += 2) {
          Receive(tables, g, r, f, std::to_string(1000 * (f - 22) / 2));
          Receive(tables, g, r, f + 1, "1.234e+11");
        }
        continue;
      }
      Receive(tables, g, r, field::kElapsed, "600");
      Receive(tables, g, r, field::kOutputVoltage, "5012");
      Receive(tables, g, r, field::kResistance, r == 3 ? "OF" : "2.5e+11");
      if (type == TestType::Normal) {
        for (int f : {10, 11, 12, 16, 18}) Receive(tables, g, r, f, "1.5e+10");
        for (int f : {13, 14, 19}) Receive(tables, g, r, f, "1.52");
      } else {
        Receive(tables, g, r, field::kRefTemperature, "20");
        Receive(tables, g, r, field::kTcResistance, "3.1e+11");
      }
    }
  }
  for (int s = 0; s < kSetCount; ++s) {
    tables.sampleCount[static_cast<size_t>(s)] = kMaxSamples;
    for (RecordCopy copy : {RecordCopy::Raw, RecordCopy::Converted}) {
      tables.Header(copy, s, header::kTemperature) = "22.5";
      tables.Header(copy, s, header::kHumidity) = "40.0";
      tables.Header(copy, s, header::kSetVoltage) = "5000";
      for (int i = 0; i < kMaxSamples; ++i) {
        tables.Sample(copy, s, i, sample::kOutputVoltage) = "5003";
        tables.Sample(copy, s, i, sample::kResistance) = i % 50 == 0 ? "OF" : "1.25e+11";
      }
    }
  }
}

void ConvertEverything(RecordTables& tables) {
  for (int g = 0; g < kGroupCount; ++g)
    for (int r = 0; r < kRecordsPerGroup; ++r) ConvertManualRecord(tables, g, r);
  for (int s = 0; s < kSetCount; ++s) {
    ConvertLoggingSet(tables, s);
    ComputeSampleTimes(tables, "2026-12-09", "10:00:00", s, 10);
  }
}

void BM_ConvertFullTables(benchmark::State& state) {
  RecordTables tables;
  for (auto _ : state) {
    state.PauseTiming();
    FillAsReceived(tables);
    state.ResumeTiming();
    ConvertEverything(tables);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ConvertFullTables)->Unit(benchmark::kMillisecond);

// Baseline: copying every cell the conversion touches from one copy to another.
void BM_CopyFullTables(benchmark::State& state) {
  RecordTables tables;
  FillAsReceived(tables);
  for (auto _ : state) {
    const TableCopy& from = tables.Copy(RecordCopy::Raw);
    TableCopy& to = tables.Copy(RecordCopy::Display);
    for (int g = 0; g < kGroupCount; ++g)
      for (int r = 0; r < kRecordsPerGroup; ++r) to.manual[g][r] = from.manual[g][r];
    for (int s = 0; s < kSetCount; ++s) {
      to.headers[s] = from.headers[s];
      for (int i = 0; i < kMaxSamples; ++i) to.samples[s][i] = from.samples[s][i];
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyFullTables)->Unit(benchmark::kMillisecond);

}  // namespace

QV70_BENCHMARK_MAIN_WITH_RATIOS({"BM_ConvertFullTables", "BM_CopyFullTables"})
