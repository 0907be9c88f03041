#include "gui/app/report_printing.h"

#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "core/platform/ui_services.h"
#include "core/report/messages.h"
#include "core/view/commands.h"
#include "gui/app/main_frame.h"
#include "gui/app/main_view.h"
#include "gui/print/report_painter.h"
#include "gui/report/report_preview.h"
#include "gui/report/report_print_job.h"

namespace qv70 {

ReportPrinting::ReportPrinting(CMainFrame& frame, CMyQV70ProjectView& view, UiServices& ui)
    : QObject(&frame), frame_(frame), view_(view), ui_(ui), printer_(QPrinter::HighResolution) {
  printDialog = [this](QPrinter& printer, int pageCount) { return RunPrintDialog(printer, pageCount, &frame_); };
  ReportCommands& commands = view_.reportCommands();
  commands.print = [this] { Print(true); };
  commands.printDirect = [this] { Print(false); };
  commands.printPreview = [this] { StartPreview(); };
  commands.closePreview = [this] { ClosePreview(); };
}

ReportPrinting::~ReportPrinting() = default;

void ReportPrinting::PaintReport(QPrinter& printer, const std::vector<int>& pages) {
  const std::optional<ReportSettings> settings = view_.ReportJobSettings();
  if (!settings) return;
  const ReportSource source{*settings, view_.Tables(), view_.ReportChartForJob(), view_.ReportLogo(), metrics_};
  if (!PaintReportPages(printer, source, pages) && &printer == &printer_)
    ui_.ShowMessage(report_message::kPrintFailed, report_message::kPrintCaption, MessageButtons::Ok,
                    MessageIcon::Warning);
}

void ReportPrinting::Print(bool withDialog) {
  const std::optional<ReportSettings> settings = view_.ReportJobSettings();
  const int pageCount = settings ? settings->reportPageCount : 0;
  if (pageCount == 0) {
    ui_.ShowMessage(report_message::kNothingToPrint, report_message::kPrintCaption, MessageButtons::Ok,
                    MessageIcon::Information);
    return;
  }
  SetUpReportPrinter(printer_, settings->paperSize);
  printer_.setPrintRange(QPrinter::AllPages);
  printer_.setFromTo(1, pageCount);
  if (withDialog && !printDialog(printer_, pageCount)) return;
  // The report's paper holds whatever the dialog offered.
  SetUpReportPrinter(printer_, settings->paperSize);
  PaintReport(printer_, PagesToPrint(printer_, pageCount, preview_ ? preview_->CurrentPage() : 0));
  // While the preview shows, the caption stays until it closes.
  if (!preview_) frame_.setWindowTitle(kMainTitle);
}

void ReportPrinting::StartPreview() {
  if (preview_) return;
  frame_.setWindowTitle(kPreviewTitle);
  const std::optional<ReportSettings> settings = view_.ReportJobSettings();
  if (!settings) {
    ui_.ShowMessage(report_message::kCommandFailed, kMainTitle, MessageButtons::Ok, MessageIcon::Warning);
    frame_.setWindowTitle(kMainTitle);
    return;
  }
  // The preview lays pages out as the printer would, whether or not one is installed.
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  SetUpReportPrinter(*printer, settings->paperSize);
  const int pageCount = settings->reportPageCount;
  preview_ = new CMyPreviewView(
      std::move(printer), pageCount, [this, pageCount](QPrinter& printer) { PaintReport(printer, AllReportPages(pageCount)); },
      &frame_);
  connect(preview_, &CMyPreviewView::printRequested, this, [this] { Print(true); });
  connect(preview_, &CMyPreviewView::closeRequested, this, &ReportPrinting::ClosePreview);
  connect(preview_, &CMyPreviewView::statusChanged, this, &ReportPrinting::ShowStatus);

  toolBarWasShown_ = frame_.ToolBar() && frame_.ToolBar()->isVisible();
  if (frame_.ToolBar()) frame_.ToolBar()->hide();
  frame_.menuBar()->hide();
  QWidget* view = frame_.takeCentralWidget();
  if (view) view->hide();
  frame_.setCentralWidget(preview_);
  // Shown now rather than at the next turn of the event loop, so the pages
  // are laid out before anything asks for them.
  preview_->show();
  view_.printPreviewShown = true;
  preview_->setFocus();
  ShowStatus(preview_->StatusText());
}

void ReportPrinting::ClosePreview() {
  if (!preview_) return;
  CMyPreviewView* preview = preview_;
  preview_ = nullptr;
  frame_.takeCentralWidget();
  preview->hide();
  preview->deleteLater();
  frame_.setCentralWidget(&view_);
  view_.show();
  frame_.menuBar()->show();
  if (frame_.ToolBar() && toolBarWasShown_) frame_.ToolBar()->show();
  view_.printPreviewShown = false;
  frame_.setWindowTitle(kMainTitle);
  frame_.SetStatusText("");
}

void ReportPrinting::ShowStatus(const QString& text) { frame_.statusBar()->showMessage(text); }

}  // namespace qv70
