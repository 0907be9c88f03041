#pragma once

// The report drawn with the window layer's surface and font metrics: --drawing, --pdf and --rtf.

#include <string>

namespace qv70::cli {

struct OpenedReport;

// Every page's line, then its drawing calls in page units, one per line.
int WriteReportDrawing(OpenedReport& report);
// The report as an RTF document of one metafile picture per page, as Save as RTF writes it.
int WriteReportRtf(OpenedReport& report, const std::string& path);
// The printed pages as a PDF of the report's paper, written whole to `path`.
int WriteReportPdf(OpenedReport& report, const std::string& path);

}  // namespace qv70::cli
