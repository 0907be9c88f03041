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

std::vector<int> PagesToPrint(const QPrinter& printer, int pageCount, int frontPage) {
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
