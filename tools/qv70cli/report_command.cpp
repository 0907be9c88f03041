// report: a data file's report pages, with the settings the options give,
// computed by the same Finish and page rules as the program's print preview.
// --texts prints every page and its texts.

#include <cstdio>
#include <ctime>
#include <optional>
#include <string>

#include "commands.h"
#include "core/chart/chart_ctrl.h"
#include "core/report/report_page.h"
#include "core/report/report_start.h"
#include "report_request.h"

namespace qv70::cli {
namespace {

// Backslash, tab and line feed written so that each text stays on its line.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '\t')
      out += "\\t";
    else if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  return out;
}

const char* KindName(PageKind kind) {
  switch (kind) {
    case PageKind::Logging: return "logging";
    case PageKind::Normal: return "normal";
    case PageKind::TC: return "tc";
    case PageKind::Step: return "step";
  }
  return "";
}

std::string SourceName(const PageSource& source) {
  if (source.kind == PageKind::Logging) return SetDataName(source.set);
  return std::string{GroupLetter(source.group), static_cast<char>('0' + source.record)};
}

void PrintLine(const std::string& line) { std::fwrite(line.data(), 1, line.size(), stdout); }

void PrintPage(int index, const std::optional<ReportPage>& page) {
  if (!page) {
    // A page the data no longer fills keeps its place with the frame only.
    PrintLine("page\t" + std::to_string(index) + "\t-\tblank\t-\n");
    return;
  }
  const std::string number = page->NumberPrinted() ? std::to_string(page->pageNumber) : "-";
  PrintLine("page\t" + std::to_string(index) + '\t' + number + '\t' + KindName(page->source.kind) + '\t' +
            SourceName(page->source) + '\n');
  for (const PageText& text : page->texts)
    PrintLine(std::string("text\t") + text.name + '\t' + Escaped(text.value) + '\n');
}

// --texts: every page's line and its texts.
int WriteTexts(const ReportRequest&, const OpenedReport& report) {
  ChartCtrl chart;
  for (int index = 1; index <= report.settings.reportPageCount; ++index)
    PrintPage(index, BuildPage(index, report.settings, report.state.tables, chart));
  return kExitOk;
}

// Writes the finished report in one output mode; the exit status.
using ReportWriter = int (*)(const ReportRequest& request, const OpenedReport& report);

// The output modes built so far; asking for another one is a usage error.
ReportWriter WriterFor(ReportOutput output) {
  switch (output) {
    case ReportOutput::Texts: return WriteTexts;
    case ReportOutput::Drawing:
    case ReportOutput::Pdf:
    case ReportOutput::Rtf: return nullptr;
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
