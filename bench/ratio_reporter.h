#pragma once

// A console reporter that also remembers each benchmark's time per iteration,
// so a benchmark program can print its ratio to the baseline of the same run.
// With --benchmark_repetitions it keeps each benchmark's fastest repetition:
// on a busy machine the other programs only ever add time, so the minimum is
// the steadiest figure (--benchmark_enable_random_interleaving=true spreads
// the repetitions of both sides of a ratio over the same stretch of time).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace qv70::bench {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.iterations <= 0) continue;
      const double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
      auto [known, added] = seconds_.try_emplace(run.benchmark_name(), seconds);
      if (!added && seconds < known->second) known->second = seconds;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // Prints "name: x ms, baseline: y ms, ratio r" for each pair found.
  void PrintRatio(const std::string& name, const std::string& baseline) const {
    auto a = seconds_.find(name);
    auto b = seconds_.find(baseline);
    if (a == seconds_.end() || b == seconds_.end() || b->second <= 0) return;
    std::printf("%s: %.3f ms; baseline %s: %.3f ms; ratio %.1f\n", name.c_str(), a->second * 1e3,
                baseline.c_str(), b->second * 1e3, a->second / b->second);
  }

 private:
  std::map<std::string, double> seconds_;
};

// Runs every benchmark, then prints the ratio of each named pair.
template <size_t N>
int RunWithRatios(int argc, char** argv, const char* const (&pairs)[N][2]) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const auto& pair : pairs) reporter.PrintRatio(pair[0], pair[1]);
  benchmark::Shutdown();
  return 0;
}

// main() for a benchmark program that reports ratios of named pairs.
#define QV70_BENCHMARK_MAIN_WITH_RATIOS(...)                  \
  int main(int argc, char** argv) {                           \
    static const char* const pairs[][2] = {__VA_ARGS__};      \
    return qv70::bench::RunWithRatios(argc, argv, pairs);     \
  }

}  // namespace qv70::bench
