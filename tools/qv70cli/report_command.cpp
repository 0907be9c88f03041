// report: a data file's report pages, with the settings the options give,
// computed by the same Finish and page rules as the program's print preview.
// --texts prints every page and its texts; --drawing, --pdf and --rtf draw them
// (report_render.cpp, built with the window layer).

#include <cstdio>
#include <ctime>
#include <optional>
#include <string>

#include "commands.h"
#include "core/chart/chart_ctrl.h"
#include "core/report/report_page.h"
#include "core/report/report_start.h"
#include "report_page_line.h"
#include "report_request.h"
#ifdef QV70_CLI_GRAPH
#include "report_render.h"
#endif

namespace qv70::cli {
namespace {

// --texts: every page's line and its texts.
int WriteTexts(const ReportRequest&, OpenedReport& report) {
  ChartCtrl chart;
  for (int index = 1; index <= report.settings.reportPageCount; ++index) {
    const std::optional<ReportPage> page = BuildPage(index, report.settings, report.state.tables, chart);
    std::string lines = PageLine(index, page);
    if (page)
      for (const PageText& text : page->texts) lines += std::string("text\t") + text.name + '\t' + EscapedText(text.value) + '\n';
    std::fwrite(lines.data(), 1, lines.size(), stdout);
  }
  return kExitOk;
}

#ifdef QV70_CLI_GRAPH
int WriteDrawing(const ReportRequest&, OpenedReport& report) { return WriteReportDrawing(report); }
int WritePdf(const ReportRequest& request, OpenedReport& report) { return WriteReportPdf(report, request.outputPath); }
int WriteRtf(const ReportRequest& request, OpenedReport& report) { return WriteReportRtf(report, request.outputPath); }
#endif

// Writes the finished report in one output mode; the exit status.
using ReportWriter = int (*)(const ReportRequest& request, OpenedReport& report);

// The output modes built so far; asking for another one is a usage error.
ReportWriter WriterFor(ReportOutput output) {
  switch (output) {
    case ReportOutput::Texts: return WriteTexts;
#ifdef QV70_CLI_GRAPH
    case ReportOutput::Drawing: return WriteDrawing;
    case ReportOutput::Pdf: return WritePdf;
    case ReportOutput::Rtf: return WriteRtf;
#else
    case ReportOutput::Drawing:
    case ReportOutput::Pdf:
    case ReportOutput::Rtf: return nullptr;
#endif
  }
  return nullptr;
}

}  // namespace

int RunReport(Arguments args) {
  ReportRequest request;
  if (!ParseReportRequest(args, ReportDateText(std::time(nullptr)), request)) return kExitUsage;
  const ReportWriter write = WriterFor(request.output);
  if (write == nullptr) return kExitUsage;
  OpenedReport report;
  if (Result opened = OpenReport(request, report); !opened) return Refuse(opened.message);
  return write(request, report);
}

}  // namespace qv70::cli
