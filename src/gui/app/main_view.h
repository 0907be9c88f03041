#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "core/picture/bmp_file_writer.h"
#include "core/platform/environment.h"
#include "core/report/report_settings.h"
#include "core/report/report_start.h"
#include "core/view/view_state.h"

namespace qv70 {

struct ProgramState;
class RecordTables;
class UiServices;
class TabFrame;
class ManualDataPage;
class LoggingDataPage;
class GraphChartCtrl;
class ChartCtrl;
class CSetReportDlg;

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
  // The Set Report window with the committed report settings; made at the
  // first "Set Report", none before.
  CSetReportDlg* SetReportDialog() const { return setReportDlg_; }
  // What a print job or the preview draws: the committed report settings
  // with the page count of the data as it is now (so that after a download
  // or an open no page is cut and none is blank), none before the first
  // Finish; the logo's device bitmap as that Finish made it; the report chart.
  std::optional<ReportSettings> ReportJobSettings() const;
  const QImage& ReportLogo() const;
  ChartCtrl& ReportChartForJob() { return ChartForGraph(reportChart_); }
  const RecordTables& Tables() const;
  // Set by the print preview while it is shown: closing the main window then
  // closes the preview only.
  bool printPreviewShown = false;

  TabFrame* MainTabs() const { return mainTabs_; }
  ManualDataPage* ManualPage() const { return manualPage_; }
  LoggingDataPage* LoggingPage() const { return loggingPage_; }
  // The hidden chart the report pages draw their graphs from (white, never shown).
  GraphChartCtrl* ReportChart() const { return reportChart_; }
  // The chart of the graph panel of the page in front.
  GraphChartCtrl* FrontChart() const;
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

  // The report graphs on the report chart; each returns its vertical axis's
  // unit divisor (see core/graphs/graphs.h).
  double PrepareLoggingResistanceChart(int set);
  double PrepareLoggingCurrentChart(int set);
  double PrepareStepResistanceChart(int group, int record);
  double PrepareStepCurrentChart(int group, int record);

  // View commands.
  void OnCopyGraph();
  void OnCustomize();
  void OnSetReport();
  void OnSaveAsRtf();
  void OnPrint();
  void OnPrintDirect();
  void OnPrintPreview();
  // The report chart written to DAT/Temp.bmp in the data folder; nothing,
  // and nothing said, when it cannot be written (no DAT folder). No menu item
  // or key issues it.
  void OnSaveReportPicture();

 signals:
  // A command flag changed: the menus and toolbar look again.
  void flagsChanged();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BringPageToFront(int tab);
  void EnableDataTabs();
  void OnGroupTabChosen(int position);
  // A press on a cell of a table: its row minus 1 becomes the selected
  // record; in a manual table it also shows that record's step graph. The
  // title row (record -1) changes nothing.
  void OnRecordClicked(int record, bool manualTable);
  // A chart takes the decimal character before every graph it is given.
  ChartCtrl& ChartForGraph(GraphChartCtrl* chart);
  void OnSetTabChosen(int position);
  void SetGraphShown(int value);
  // Runs the Set Report window; a Finish enables "Save as RTF" and opens the preview.
  void RunSetReport();

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
  GraphChartCtrl* reportChart_ = nullptr;
  CSetReportDlg* setReportDlg_ = nullptr;
  BmpFileWriter bitmapWriter_;
};

}  // namespace qv70
