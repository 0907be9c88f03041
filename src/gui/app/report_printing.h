#pragma once

#include <QObject>
#include <QPointer>
#include <QPrinter>
#include <functional>

#include "gui/draw/qt_font_metrics.h"
#include "gui/report/report_preview.h"

namespace qv70 {

class CMainFrame;
class CMyQV70ProjectView;
class UiServices;

// Printing and the print preview of the report, for the main window: the
// print job with or without the print dialog, the preview shown in place of
// the main view with the caption "Set Report", and what is restored when it
// closes. Installs itself as the view's print, direct print, preview and
// close-preview commands.
class ReportPrinting : public QObject {
  Q_OBJECT

 public:
  ReportPrinting(CMainFrame& frame, CMyQV70ProjectView& view, UiServices& ui);
  ~ReportPrinting() override;

  // A print job; `withDialog` asks the print dialog first (Cancel ends it).
  void Print(bool withDialog);
  // Shows the preview of the committed report; "Command failed." when there
  // is none to show.
  void StartPreview();
  void ClosePreview();

  CMyPreviewView* Preview() const { return preview_; }
  QPrinter& Printer() { return printer_; }

  // The print dialog, replaceable so that tests answer it; true to print.
  std::function<bool(QPrinter& printer, int pageCount)> printDialog;

 private:
  void PaintReport(QPrinter& printer, const std::vector<int>& pages);
  void ShowStatus(const QString& text);

  CMainFrame& frame_;
  CMyQV70ProjectView& view_;
  UiServices& ui_;
  QtFontMetrics metrics_;
  QPrinter printer_;
  QPointer<CMyPreviewView> preview_;
  bool toolBarWasShown_ = true;
};

}  // namespace qv70
