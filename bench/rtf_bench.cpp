// The largest report there can be (10 logging sets of 360 samples and 100
// records: 110 pages, every item ticked, a logo) saved as RTF with the Qt
// font metrics the program measures with, against writing the same number
// of bytes of hexadecimal text to a file and flushing it, in the same run.
// Runs headless (offscreen unless told otherwise).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <sys/stat.h>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/chart/chart_ctrl.h"
#include "core/data/record_tables.h"
#include "core/data/values.h"
#include "core/picture/picture_image.h"
#include "core/report/report_page.h"
#include "core/report/rtf_export.h"
#include "gui/draw/qt_font_metrics.h"
#include "ratio_reporter.h"

namespace {

using namespace qv70;

const char* kTypes[] = {"Normal Test", "TC Test", "Step Voltage Test"};

std::unique_ptr<RecordTables> LargestTables() {
  auto tables = std::make_unique<RecordTables>();
  for (RecordCopy copy : {RecordCopy::Raw, RecordCopy::Converted}) {
    for (int s = 0; s < kSetCount; ++s) {
      tables->Copy(copy).headers[s] = {
          "L" + std::to_string(s), "Logging", "2009-12-31", "23:59:30", "60", "23.5", "45.0", "1000"};
      for (int i = 0; i < kMaxSamples; ++i) {
        tables->Sample(copy, s, i, sample::kOutputVoltage) = std::to_string(1000 + i % 7);
        tables->Sample(copy, s, i, sample::kResistance) =
            i % 50 == 0 ? "OF" : std::to_string(5230000000LL + i * 10000003LL);
      }
    }
    for (int g = 0; g < kGroupCount; ++g)
      for (int r = 0; r < kRecordsPerGroup; ++r) {
        ManualRecord& record = tables->Record(copy, g, r);
        record[field::kTestType] = kTypes[(g + r) % 3];
        record[field::kDate] = "2009-12-01";
        record[field::kTime] = "10:15:00";
        for (int f = 4; f < kManualFieldCount; ++f)
          record[static_cast<std::size_t>(f)] = std::to_string(1234567LL * (f + r) * 1000);
        record[field::kTemperature] = "23.5";
        record[field::kHumidity] = "45.0";
      }
  }
  for (int s = 0; s < kSetCount; ++s) {
    tables->sampleCount[s] = kMaxSamples;
    ConvertLoggingSet(*tables, s);
  }
  for (int g = 0; g < kGroupCount; ++g) {
    tables->recordCount[g] = kRecordsPerGroup;
    for (int r = 0; r < kRecordsPerGroup; ++r) ConvertManualRecord(*tables, g, r);
  }
  tables->info.serialNumber = "09120345";
  return tables;
}

ReportSettings EverythingSelected() {
  ReportSettings settings;
  settings.selectedSets.fill(true);
  settings.loggingCount = settings.normalCount = settings.tcCount = settings.stepCount = 1;
  settings.itemFlags = std::string(kItemFlagCount, '1');
  settings.header = {"1", "2009-12-31", "Inspector", ""};
  settings.commentText = std::string(
      "Insulation of the main feeder measured after the repair of phase L2; all values within the limits "
      "of the maintenance plan. Next test in six months, at the same temperature if possible.");
  return settings;
}

// A logo larger than its box, as a scanned one is: 400 x 300 pixels.
PictureImage Logo() {
  PictureImage logo;
  logo.Create(400, 300, 24);
  for (int y = 0; y < logo.Height(); ++y)
    for (int x = 0; x < logo.Width() * 3; ++x) logo.Row(y)[x] = static_cast<std::uint8_t>(x * 7 + y);
  return logo;
}

struct Export {
  QtFontMetrics metrics;
  std::unique_ptr<RecordTables> tables = LargestTables();
  ReportSettings settings = EverythingSelected();
  PictureImage logo = Logo();
  ChartCtrl chart;
  std::string folder;
  std::string path;

  Export() {
    char pattern[] = "/tmp/qv70-bench-XXXXXX";
    folder = mkdtemp(pattern);
    path = folder + "/largest.rtf";
  }
  ~Export() { std::system(("rm -rf '" + folder + "'").c_str()); }
  long long FileSize() const {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : 0;
  }
};

// Made in main, once the application exists, and gone before it is: fonts
// outlive neither.
Export* theExport = nullptr;
Export& TheExport() { return *theExport; }

void BM_LargestReportToRtf(benchmark::State& state) {
  Export& e = TheExport();
  for (auto _ : state) {
    const Result saved = SaveReportRtf(e.path, e.settings, *e.tables, e.chart, e.logo, e.metrics);
    if (!saved) state.SkipWithError(saved.message.c_str());
  }
  state.counters["pages"] = PageCount(e.settings, *e.tables);
  state.counters["MB"] = static_cast<double>(e.FileSize()) / 1e6;
}

// The same number of bytes of hexadecimal text, made and written 1 MB at a
// time and flushed to disk, as the export's file is.
void BM_HexTextOfTheSameSize(benchmark::State& state) {
  Export& e = TheExport();
  if (e.FileSize() == 0) SaveReportRtf(e.path, e.settings, *e.tables, e.chart, e.logo, e.metrics);
  const long long size = e.FileSize();
  std::vector<std::uint8_t> bytes(1 << 19);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 31);
  const std::string plain = e.folder + "/plain.txt";
  for (auto _ : state) {
    const int fd = open(plain.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (long long written = 0; written < size;) {
      const std::string hex = HexDigits(bytes.data(), bytes.size());
      const auto count =
          static_cast<std::size_t>(std::min<long long>(static_cast<long long>(hex.size()), size - written));
      if (write(fd, hex.data(), count) < 0) break;
      written += static_cast<long long>(count);
    }
    fsync(fd);
    close(fd);
  }
  state.counters["MB"] = static_cast<double>(size) / 1e6;
}

BENCHMARK(BM_LargestReportToRtf)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_HexTextOfTheSameSize)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  theExport = new Export;
  static const char* const pairs[][2] = {
      {"BM_LargestReportToRtf/iterations:3", "BM_HexTextOfTheSameSize/iterations:3"}};
  const int status = qv70::bench::RunWithRatios(argc, argv, pairs);
  delete theExport;
  return status;
}
