// Opening and saving the largest data file the tables allow (10 groups of 10
// records, 10 logging sets of 360 samples), against a baseline that only reads
// the file's bytes and splits them into lines and fields.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/data/program_state.h"
#include "core/files/data_file.h"
#include "largest_tables.h"
#include "ratio_reporter.h"

using namespace qv70;
using qv70::bench::FillLargestTables;

namespace {

// Full tables with plausible values, written once to a file in /tmp.
class LargestFile {
 public:
  LargestFile() {
    char pattern[] = "/tmp/qv70-bench-XXXXXX";
    folder_ = mkdtemp(pattern);
    path_ = folder_ + "/largest.csv";
    RecordTables& tables = state_.tables;
    FillLargestTables(tables);
    Result outcome = WriteDataFile(path_, tables, state_.numberFormat);
    if (!outcome.ok) std::abort();
  }
  ~LargestFile() {
    std::remove(path_.c_str());
    std::remove((folder_ + "/again.csv").c_str());
    rmdir(folder_.c_str());
  }

  const std::string& Path() const { return path_; }
  const std::string& Folder() const { return folder_; }
  ProgramState& State() { return state_; }

 private:
  std::string folder_;
  std::string path_;
  ProgramState state_;
};

LargestFile& File() {
  static LargestFile file;
  return file;
}

void BM_Baseline_ReadAndSplit(benchmark::State& state) {
  const std::string& path = File().Path();
  std::vector<std::string> fields;
  for (auto _ : state) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string text = bytes.str();
    const std::string_view all(text);
    fields.clear();
    size_t start = 0;
    while (start < all.size()) {
      size_t end = all.find('\n', start);
      if (end == std::string_view::npos) end = all.size();
      std::string_view line = all.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      size_t from = 0;
      for (;;) {
        size_t comma = line.find(',', from);
        fields.emplace_back(line.substr(from, comma == std::string_view::npos ? std::string_view::npos : comma - from));
        if (comma == std::string_view::npos) break;
        from = comma + 1;
      }
      start = end + 1;
    }
    benchmark::DoNotOptimize(fields.data());
  }
  state.counters["fields"] = static_cast<double>(fields.size());
}

void BM_OpenAndInstall(benchmark::State& state) {
  ProgramState program;
  for (auto _ : state) {
    Result outcome = ReadDataFile(File().Path(), program.tables);
    if (!outcome.ok) state.SkipWithError(outcome.message.c_str());
  }
}

void BM_ParseOnly(benchmark::State& state) {
  std::ifstream in(File().Path(), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  const std::string text = bytes.str();
  ProgramState program;
  InstrumentInfo info;
  for (auto _ : state) benchmark::DoNotOptimize(ParseDataFile(text, program.tables, info).ok);
}

void BM_InstallOnly(benchmark::State& state) {
  ProgramState program;
  ReadDataFile(File().Path(), program.tables);
  for (auto _ : state) InstallLoadedData(program.tables);
}

void BM_FormatOnly(benchmark::State& state) {
  ProgramState& program = File().State();
  for (auto _ : state) benchmark::DoNotOptimize(FormatDataFile(program.tables, program.numberFormat).size());
}

// The whole save: format, temporary file, flush to disk, rename.
void BM_Save(benchmark::State& state) {
  ProgramState& program = File().State();
  const std::string again = File().Folder() + "/again.csv";
  for (auto _ : state) {
    Result outcome = WriteDataFile(again, program.tables, program.numberFormat);
    if (!outcome.ok) state.SkipWithError(outcome.message.c_str());
  }
}

}  // namespace

BENCHMARK(BM_Baseline_ReadAndSplit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAndInstall)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InstallOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);
QV70_BENCHMARK_MAIN_WITH_RATIOS({"BM_OpenAndInstall", "BM_Baseline_ReadAndSplit"},
                                {"BM_ParseOnly", "BM_Baseline_ReadAndSplit"},
                                {"BM_InstallOnly", "BM_Baseline_ReadAndSplit"},
                                {"BM_FormatOnly", "BM_Baseline_ReadAndSplit"},
                                {"BM_Save", "BM_Baseline_ReadAndSplit"})
