#pragma once

// The report drawn with the window layer's surface: --drawing and --pdf.

#include <string>

namespace qv70::cli {

struct OpenedReport;

// Every page's line, then its drawing calls in page units, one per line.
int WriteReportDrawing(OpenedReport& report);
// The printed pages as a PDF of the report's paper, written whole to `path`.
int WriteReportPdf(OpenedReport& report, const std::string& path);

}  // namespace qv70::cli
