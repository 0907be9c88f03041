#pragma once

#include <vector>

#include "core/report/report_settings.h"

class QPrinter;
class QWidget;

namespace qv70 {

// Portrait, on the paper of `paper` (A4, JIS B5, Letter or Legal).
void SetUpReportPrinter(QPrinter& printer, PaperSize paper);

// The page indexes a job prints, one per sheet, as the printer's range
// asks, within 1 ... pageCount, in the printer's page order and repeated for
// the copies it cannot make itself. The selection is the page in front of
// the preview (`frontPage`), or every page when there is no preview (0).
std::vector<int> PagesToPrint(const QPrinter& printer, int pageCount, int frontPage);

// The platform's print dialog with the page range 1 ... pageCount and the
// selection choice. False when it was cancelled.
bool RunPrintDialog(QPrinter& printer, int pageCount, QWidget* parent);

}  // namespace qv70
