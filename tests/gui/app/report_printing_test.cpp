// Printing and the print preview from the main window: captions, the tool
// bar, the page range, and what a print job puts on paper (here: PDF files).

#include <QCheckBox>
#include <QFile>
#include <QMenuBar>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolBar>
#include <functional>

#include <gtest/gtest.h>

#include "core/platform/scripted_ui_services.h"
#include "core/report/messages.h"
#include "core/view/commands.h"
#include "gui/app/report_printing.h"
#include "gui/report/report_pages.h"
#include "gui/report/report_preview.h"
#include "gui/report/set_report_dialog.h"
#include "shell_fixture.h"

namespace qv70 {
namespace {

using test::ShellTest;
using test::WriteWholeFile;

// Normal Test records in group C, as a download leaves them.
void NormalRecords(ProgramState& state, int count) {
  state.tables.recordCount[2] = count;
  for (int r = 0; r < count; ++r)
    for (RecordCopy copy : {RecordCopy::Raw, RecordCopy::Converted})
      state.tables.Manual(copy, 2, r, field::kTestType) = "Normal Test";
  state.tables.dataState = DataState::Saved;
}

// Pages of a PDF file, by its page objects.
int PdfPageCount(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return -1;
  return static_cast<int>(file.readAll().count("/Type /Page\n") + 0);
}

class ReportPrintingTest : public ShellTest {
 protected:
  CMainFrame& StartWithRecords(int count) {
    CMainFrame& main = Start();
    NormalRecords(state, count);
    View().ShowNewData(true);
    return main;
  }

  // Set Report walked to Finish with every item, `paper` chosen on the first page.
  void FinishSetReport(PaperSize paper = PaperSize::A4) {
    QTimer::singleShot(0, &View(), [this, paper] {
      CSetReportDlg* dialog = View().SetReportDialog();
      ASSERT_NE(dialog, nullptr);
      dialog->FirstPage()->Paper(paper)->click();
      dialog->OkButton()->click();
      if (!dialog->ItemPage()->SelectAll()->isChecked()) dialog->ItemPage()->SelectAll()->click();
      dialog->OkButton()->click();
    });
    frame->RunCommand(kCmdSetReport);
  }

  ReportPrinting& Printing() { return *frame->Printing(); }
  CMyPreviewView* Preview() { return Printing().Preview(); }

  // The print dialog answered: the printer writes `pdf`, with `range`.
  void AnswerPrintDialog(const std::string& pdf, QPrinter::PrintRange range, bool accept = true) {
    Printing().printDialog = [this, pdf, range, accept](QPrinter& printer, int pageCount) {
      dialogPageCounts.push_back(pageCount);
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(pdf));
      printer.setPrintRange(range);
      return accept;
    };
  }

  std::vector<int> dialogPageCounts;
};

TEST_F(ReportPrintingTest, FinishOpensThePreviewInPlaceOfTheViewAndCloseRestoresIt) {
  CMainFrame& main = StartWithRecords(3);
  FinishSetReport();
  ASSERT_NE(Preview(), nullptr);
  EXPECT_EQ(main.windowTitle(), kPreviewTitle);
  EXPECT_EQ(main.centralWidget(), Preview());
  EXPECT_FALSE(main.menuBar()->isVisible());
  EXPECT_FALSE(main.ToolBar()->isVisible());
  EXPECT_TRUE(View().printPreviewShown);
  for (const char* caption : {"&Print...", "Page &Up", "Page &Down", "Zoom &In", "Zoom &Out", "&Close"})
    EXPECT_NE(Preview()->Button(caption), nullptr) << caption;
  EXPECT_EQ(main.StatusText(), "Print: Page 1  Total Page Number 3");
  EXPECT_FALSE(Preview()->Button("Page &Up")->isEnabled());

  struct Key {
    Qt::Key key;
    int page;
  };
  for (const Key& step : {Key{Qt::Key_PageDown, 2}, Key{Qt::Key_PageDown, 3}, Key{Qt::Key_PageDown, 3},
                          Key{Qt::Key_PageUp, 2}}) {
    QTest::keyClick(Preview(), step.key);
    EXPECT_EQ(Preview()->CurrentPage(), step.page);
    EXPECT_EQ(main.StatusText(), QString("Print: Page %1  Total Page Number 3").arg(step.page));
  }
  EXPECT_EQ(Preview()->Pages()->pageCount(), 3);

  QTest::keyClick(Preview(), Qt::Key_Escape);
  EXPECT_EQ(Preview(), nullptr);
  EXPECT_EQ(main.windowTitle(), kMainTitle);
  EXPECT_EQ(main.centralWidget(), &View());
  EXPECT_TRUE(View().isVisible());
  EXPECT_TRUE(main.menuBar()->isVisible());
  EXPECT_TRUE(main.ToolBar()->isVisible());
  EXPECT_FALSE(View().printPreviewShown);
  EXPECT_EQ(main.StatusText(), "Ready");
}

TEST_F(ReportPrintingTest, PrintingFromThePreviewKeepsItOpenAndPrintsTheChosenRange) {
  CMainFrame& main = StartWithRecords(3);
  FinishSetReport();
  ASSERT_NE(Preview(), nullptr);
  QTest::keyClick(Preview(), Qt::Key_PageDown);
  struct Row {
    const char* name;
    QPrinter::PrintRange range;
    bool accept;
    int pages;  // -1: nothing written
  };
  const Row rows[] = {
      {"all pages", QPrinter::AllPages, true, 3},
      {"the selection: the page in front", QPrinter::Selection, true, 1},
      {"cancelled", QPrinter::AllPages, false, -1},
  };
  for (const Row& row : rows) {
    const std::string pdf = dir.File(std::string(row.name) + ".pdf");
    AnswerPrintDialog(pdf, row.range, row.accept);
    Preview()->Button("&Print...")->click();
    EXPECT_EQ(PdfPageCount(pdf), row.pages) << row.name;
    EXPECT_EQ(dialogPageCounts.back(), 3) << row.name;
    ASSERT_NE(Preview(), nullptr) << row.name;
    EXPECT_EQ(main.windowTitle(), kPreviewTitle) << row.name;
  }
  Preview()->Button("&Close")->click();
  EXPECT_EQ(main.windowTitle(), kMainTitle);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ReportPrintingTest, APrintJobWithoutReportPagesPrintsNothingAndSaysSo) {
  CMainFrame& main = StartWithRecords(3);
  AnswerPrintDialog(dir.File("never.pdf"), QPrinter::AllPages);
  QTest::keyClick(&main, Qt::Key_P, Qt::ControlModifier);
  EXPECT_TRUE(dialogPageCounts.empty());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, report_message::kNothingToPrint);
  EXPECT_EQ(PdfPageCount(dir.File("never.pdf")), -1);
}

TEST_F(ReportPrintingTest, APreviewWithoutFinishedSettingsFailsAndKeepsTheNormalCaption) {
  CMainFrame& main = StartWithRecords(3);
  main.RunCommand(kCmdPrintPreview);
  EXPECT_EQ(Preview(), nullptr);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, report_message::kCommandFailed);
  EXPECT_EQ(main.windowTitle(), kMainTitle);
  EXPECT_EQ(main.centralWidget(), &View());
}

TEST_F(ReportPrintingTest, PrintsOnThePaperOfTheSettingsInPortraitWithThePagesOfTheDataAsItIsNow) {
  struct Row {
    PaperSize paper;
    QPageSize::PageSizeId id;
  };
  for (const Row& row : {Row{PaperSize::A4, QPageSize::A4}, Row{PaperSize::B5, QPageSize::JisB5},
                         Row{PaperSize::Letter, QPageSize::Letter}, Row{PaperSize::Legal, QPageSize::Legal}}) {
    StartWithRecords(2);
    FinishSetReport(row.paper);
    ASSERT_NE(Preview(), nullptr);
    Preview()->Button("&Close")->click();
    // A later open brings a third record: the job prints it too.
    NormalRecords(state, 3);
    View().ShowNewData(true);
    const std::string pdf = dir.File("paper.pdf");
    AnswerPrintDialog(pdf, QPrinter::AllPages);
    frame->RunCommand(kCmdPrint);
    EXPECT_EQ(Printing().Printer().pageLayout().pageSize().id(), row.id);
    EXPECT_EQ(Printing().Printer().pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_EQ(dialogPageCounts.back(), 3);
    EXPECT_EQ(PdfPageCount(pdf), 3);
    frame->close();
    frame.reset();
  }
}

TEST_F(ReportPrintingTest, ClosingTheWindowDuringThePreviewClosesOnlyThePreview) {
  CMainFrame& main = StartWithRecords(3);
  FinishSetReport();
  ASSERT_NE(Preview(), nullptr);
  EXPECT_FALSE(main.close());
  EXPECT_EQ(Preview(), nullptr);
  EXPECT_EQ(main.windowTitle(), kMainTitle);
  EXPECT_TRUE(main.isVisible());
}

TEST_F(ReportPrintingTest, SaveAsRtfAsksForTheFileAddsItsExtensionAndAsksBeforeReplacing) {
  CMainFrame& main = StartWithRecords(2);
  FinishSetReport();
  ASSERT_NE(Preview(), nullptr);
  Preview()->Button("&Close")->click();
  ASSERT_TRUE(main.Action(kCmdSaveAsRtf)->isEnabled());
  WriteWholeFile(dir.File("kept.rtf"), "old");
  struct Row {
    const char* name;
    std::string chosen;  // empty: the dialog is cancelled
    std::vector<MessageAnswer> answers;
    std::string written;
    bool isReport;
  };
  const Row rows[] = {
      {"cancelled", "", {}, "", false},
      {"a name without its extension", dir.File("new"), {}, dir.File("new.rtf"), true},
      {"an existing file kept with No", dir.File("kept.rtf"), {MessageAnswer::No}, dir.File("kept.rtf"), false},
      {"an existing file replaced with Yes", dir.File("kept.rtf"), {MessageAnswer::Yes}, dir.File("kept.rtf"), true},
  };
  for (const Row& row : rows) {
    ui.messages.clear();
    if (!row.chosen.empty()) ui.saveNames.push_back(row.chosen);
    ui.answers.assign(row.answers.begin(), row.answers.end());
    main.RunCommand(kCmdSaveAsRtf);
    EXPECT_EQ(ui.messages.size(), row.answers.size()) << row.name;
    if (!row.answers.empty()) {
      EXPECT_EQ(ui.messages[0].text, "kept.rtf already exists.\nDo you want to replace it?") << row.name;
    }
    if (row.written.empty()) continue;
    const std::string bytes = test::ReadWholeFile(row.written);
    EXPECT_EQ(bytes.rfind("{\\rtf1\\ansi", 0) == 0, row.isReport) << row.name;
  }
}

}  // namespace
}  // namespace qv70
