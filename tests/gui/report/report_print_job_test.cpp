// What a print job puts on sheets: the chosen range, the page in front of the
// preview for the selection, the page order and copies a PDF cannot make.
#include <gtest/gtest.h>

#include <QPrinter>
#include <vector>

#include "gui/report/report_print_job.h"
#include "support/qt/application.h"

namespace qv70 {
namespace {

TEST(PagesToPrint, FollowTheRangeOrderAndCopiesOfThePrinter) {
  test::EnsureApplication();
  struct Row {
    const char* name;
    QPrinter::PrintRange range;
    int from, to, front;
    QPrinter::PageOrder order;
    int copies;
    bool collate;
    std::vector<int> sheets;
  };
  const Row rows[] = {
      {"all pages", QPrinter::AllPages, 0, 0, 0, QPrinter::FirstPageFirst, 1, true, {1, 2, 3, 4}},
      {"pages 2 to 3", QPrinter::PageRange, 2, 3, 0, QPrinter::FirstPageFirst, 1, true, {2, 3}},
      {"a range past the end is cut", QPrinter::PageRange, 3, 9, 0, QPrinter::FirstPageFirst, 1, true, {3, 4}},
      {"the selection: the page in front", QPrinter::Selection, 0, 0, 3, QPrinter::FirstPageFirst, 1, true, {3}},
      {"the selection without a preview: all", QPrinter::Selection, 0, 0, 0, QPrinter::FirstPageFirst, 1, true,
       {1, 2, 3, 4}},
      {"last page first", QPrinter::PageRange, 1, 3, 0, QPrinter::LastPageFirst, 1, true, {3, 2, 1}},
      {"two copies collated", QPrinter::PageRange, 1, 2, 0, QPrinter::FirstPageFirst, 2, true, {1, 2, 1, 2}},
      {"two copies not collated", QPrinter::PageRange, 1, 2, 0, QPrinter::FirstPageFirst, 2, false, {1, 1, 2, 2}},
  };
  for (const Row& row : rows) {
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPrintRange(row.range);
    if (row.range == QPrinter::PageRange) printer.setFromTo(row.from, row.to);
    printer.setPageOrder(row.order);
    printer.setCopyCount(row.copies);
    printer.setCollateCopies(row.collate);
    EXPECT_EQ(PagesToPrint(printer, 4, row.front), row.sheets) << row.name;
  }
}

}  // namespace
}  // namespace qv70
