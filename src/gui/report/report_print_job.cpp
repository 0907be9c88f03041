#include "gui/report/report_print_job.h"

#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

#include "gui/print/report_painter.h"

namespace qv70 {

void SetUpReportPrinter(QPrinter& printer, PaperSize paper) {
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setPageSize(ReportPageSize(paper));
}

namespace {

std::vector<int> ChosenRange(const QPrinter& printer, int pageCount, int frontPage) {
  switch (printer.printRange()) {
    case QPrinter::Selection:
    case QPrinter::CurrentPage:
      if (frontPage >= 1 && frontPage <= pageCount) return {frontPage};
      return AllReportPages(pageCount);
    case QPrinter::PageRange: {
      const int from = std::max(1, printer.fromPage());
      const int to = printer.toPage() == 0 ? pageCount : std::min(pageCount, printer.toPage());
      std::vector<int> pages;
      for (int index = from; index <= to; ++index) pages.push_back(index);
      return pages;
    }
    case QPrinter::AllPages: break;
  }
  return AllReportPages(pageCount);
}

// Copies the printer cannot make itself (a PDF file, for one) are painted
// as pages: each copy whole when collated, else each page again and again.
std::vector<int> WithCopies(const std::vector<int>& pages, int copies, bool collate) {
  std::vector<int> sheets;
  if (collate) {
    for (int copy = 0; copy < copies; ++copy) sheets.insert(sheets.end(), pages.begin(), pages.end());
  } else {
    for (int page : pages) sheets.insert(sheets.end(), static_cast<std::size_t>(copies), page);
  }
  return sheets;
}

}  // namespace

std::vector<int> PagesToPrint(const QPrinter& printer, int pageCount, int frontPage) {
  std::vector<int> pages = ChosenRange(printer, pageCount, frontPage);
  if (printer.pageOrder() == QPrinter::LastPageFirst) std::reverse(pages.begin(), pages.end());
  if (printer.supportsMultipleCopies() || printer.copyCount() <= 1) return pages;
  return WithCopies(pages, printer.copyCount(), printer.collateCopies());
}

bool RunPrintDialog(QPrinter& printer, int pageCount, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  dialog.setMinMax(1, std::max(1, pageCount));
  dialog.setFromTo(1, pageCount);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace qv70
