// Writes the sample report (a page of every kind and a logo) as RTF to the
// path given, for the checks that read it with other programs. Text is
// measured with the fixed test metrics, so the file is the same everywhere.
#include <cstdio>

#include "core/chart/chart_ctrl.h"
#include "core/draw/fake_font_metrics.h"
#include "core/report/messages.h"
#include "core/report/report_sample.h"
#include "core/report/rtf_export.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: rtf_sample OUT.rtf\n");
    return 2;
  }
  const auto tables = qv70::test::SampleReportTables();
  const qv70::ReportSettings settings = qv70::test::SampleReportSettings();
  qv70::ChartCtrl chart;
  const qv70::Result saved =
      qv70::SaveReportRtf(argv[1], settings, *tables, chart, qv70::test::SampleLogo(), qv70::kFakeMetrics);
  if (!saved) {
    std::fprintf(stderr, "%s\n", saved.message.c_str());
    return 1;
  }
  std::printf("%d\n", qv70::PageCount(settings, *tables));
  return 0;
}
