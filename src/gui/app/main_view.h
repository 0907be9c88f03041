#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "core/platform/environment.h"
#include "core/report/report_start.h"
#include "core/view/view_state.h"

namespace qv70 {

struct ProgramState;
class UiServices;
class TabFrame;
class ManualDataPage;
class LoggingDataPage;

// Handlers of the report commands, supplied by the report layer; an empty one
// leaves its command without effect.
struct ReportCommands {
  std::function<void()> setReport;
  std::function<void()> saveAsRtf;
  std::function<void()> print;
  std::function<void()> printDirect;
  std::function<void()> printPreview;
  std::function<void()> saveReportPicture;
  // Closes the print preview (the main window's close request does that first).
  std::function<void()> closePreview;
};

// The main view: the "Manual Data" and "Logging Data" tabs with their pages,
// the command flags the menus and toolbar follow, and the refresh of the pages
// after a download or an open. Reads the program's state; writes only the
// display copy and the converted logging header fields the pages show.
class CMyQV70ProjectView : public QWidget {
  Q_OBJECT

 public:
  CMyQV70ProjectView(ProgramState& state, UiServices& ui, const Environment& environment,
                     QWidget* parent = nullptr);

  // The initialisation of a new view: pages, data state, the INFO and
  // CUSTOMIZE settings, the report start values, the empty pages.
  void Initialise();

  CommandFlags& flags() { return flags_; }
  const CommandFlags& flags() const { return flags_; }
  PresentationState& presentation() { return presentation_; }
  const PresentationState& presentation() const { return presentation_; }
  const ReportStart& reportStart() const { return reportStart_; }
  ReportCommands& reportCommands() { return reportCommands_; }
  // Set by the print preview while it is shown: closing the main window then
  // closes the preview only.
  bool printPreviewShown = false;

  TabFrame* MainTabs() const { return mainTabs_; }
  ManualDataPage* ManualPage() const { return manualPage_; }
  LoggingDataPage* LoggingPage() const { return loggingPage_; }
  QWidget* ReportChart() const { return reportChart_; }
  int FrontTab() const;

  // The operator chose a tab of the main tab control.
  void OnMainTabChosen(int tab);

  // The refresh after a finished download (`afterOpen` false) or a successful
  // open (true): tabs, tables, logging panel, graphs, filter, page switch, flags.
  void ShowNewData(bool afterOpen);

  // Page refreshes, as the download, the open and the Customize dialog call them.
  void RebuildDataTabs();
  void FillManualTable();
  void FillLoggingTable();
  void ShowLoggingInfo();
  void ShowLoggingGraph();
  void ShowStepGraph(int record);
  void ApplyTestTypeFilter(int choice);
  void OnStepGraph();
  void OnLoggingGraph();

  // View commands.
  void OnCopyGraph();
  void OnCustomize();
  void OnSetReport();
  void OnSaveAsRtf();
  void OnPrint();
  void OnPrintDirect();
  void OnPrintPreview();

 signals:
  // A command flag changed: the menus and toolbar look again.
  void flagsChanged();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BringPageToFront(int tab);
  void EnableDataTabs();
  void OnGroupTabChosen(int position);
  // A press on a cell of any table: its row minus 1 becomes the selected record.
  void OnRecordClicked(int record);
  void OnSetTabChosen(int position);
  void SetGraphShown(int value);

  ProgramState& state_;
  UiServices& ui_;
  Environment environment_;
  CommandFlags flags_;
  PresentationState presentation_;
  ReportStart reportStart_;
  ReportCommands reportCommands_;

  TabFrame* mainTabs_ = nullptr;
  ManualDataPage* manualPage_ = nullptr;
  LoggingDataPage* loggingPage_ = nullptr;
  QWidget* reportChart_ = nullptr;
};

}  // namespace qv70
