#include "gui/app/main_view.h"

#include <QCheckBox>
#include <QResizeEvent>
#include <cstdio>

#include "core/data/program_state.h"
#include "core/data/values.h"
#include "core/files/config_settings.h"
#include "core/files/settings_file.h"
#include "core/view/commands.h"
#include "core/view/page_layout.h"
#include "core/view/table_content.h"
#include "core/view/table_grids.h"
#include "core/graphs/graphs.h"
#include "gui/chart/graph_chart_ctrl.h"
#include "gui/grid/record_grid_widget.h"
#include "gui/pages/data_pages.h"
#include "gui/pages/page_panels.h"
#include "gui/pages/tab_frame.h"
#include "gui/pages/table_panels.h"

#include "core/report/report_page.h"
#include "core/report/rtf_export.h"
#include "core/report/report_settings.h"
#include "gui/dialogs/customize_dialog.h"
#include "gui/draw/qt_font_metrics.h"
#include "gui/report/set_report_dialog.h"

namespace qv70 {

namespace {

void MovePage(QWidget* page, int left, int top) {
  page->move(left, top);
  page->raise();
}

}  // namespace

CMyQV70ProjectView::CMyQV70ProjectView(ProgramState& state, UiServices& ui,
                                       const Environment& environment, QWidget* parent)
    : QWidget(parent), state_(state), ui_(ui), environment_(environment) {
  setObjectName("MainView");
  // The report chart is drawn into by report printing only; it never shows.
  reportChart_ = new GraphChartCtrl(ui_, this);
  reportChart_->setObjectName("ReportChart");
  reportChart_->Chart().SetBackgroundColor(kWhite);
  reportChart_->hide();

  mainTabs_ = new TabFrame(this);
  mainTabs_->setObjectName("MainTabs");
  manualPage_ = new ManualDataPage(ui_, mainTabs_);
  mainTabs_->AddTab("Manual Data", kManualTab);
  loggingPage_ = new LoggingDataPage(ui_, mainTabs_);
  mainTabs_->AddTab("Logging Data", kLoggingTab);

  connect(mainTabs_, &TabFrame::tabChosen, this, &CMyQV70ProjectView::OnMainTabChosen);
  connect(manualPage_, &ManualDataPage::groupTabChosen, this, &CMyQV70ProjectView::OnGroupTabChosen);
  connect(loggingPage_, &LoggingDataPage::setTabChosen, this, &CMyQV70ProjectView::OnSetTabChosen);
  connect(manualPage_->DataSelect(), &DataSelectBar::filterClicked, this,
          &CMyQV70ProjectView::ApplyTestTypeFilter);
  connect(manualPage_->DataSelect(), &DataSelectBar::stepGraphClicked, this,
          &CMyQV70ProjectView::OnStepGraph);
  connect(loggingPage_->Header(), &LoggingHeaderPanel::loggingGraphClicked, this,
          &CMyQV70ProjectView::OnLoggingGraph);
  // A click on a cell of any table picks that row's record; a manual one
  // shows its step graph.
  for (DataPage* page : {static_cast<DataPage*>(manualPage_), static_cast<DataPage*>(loggingPage_)}) {
    const bool manual = page == manualPage_;
    for (int position = 0; position < DataPage::kPanels; ++position) {
      page->GridAt(position)->Grid().SetRecordClickHandler(
          [this, manual](int record) { OnRecordClicked(record, manual); });
    }
  }
  // The copy menu and command of every chart follow GraphShown.
  for (GraphChartCtrl* chart : {manualPage_->StepGraph()->Chart(), loggingPage_->LoggingGraph()->Chart(), reportChart_})
    chart->SetGraphShownSource([this] { return flags_.graphShown == 1; });
  reportChart_->SetBitmapWriter(&bitmapWriter_);
}

void CMyQV70ProjectView::Initialise() {
  // Both pages sit inside the tab control below its tab row; the manual page in front.
  MovePage(manualPage_, 4, TabFrame::kTabRowHeight);
  MovePage(loggingPage_, 4, TabFrame::kTabRowHeight);
  manualPage_->show();
  manualPage_->setEnabled(true);
  loggingPage_->hide();
  loggingPage_->setEnabled(false);
  manualPage_->DataSelect()->StepGraphBox()->setEnabled(false);

  state_.tables.dataState = DataState::NoData;
  presentation_.loggingDataPresent = 1;
  presentation_.manualDataPresent = 1;
  presentation_.testTypeFilter = 0;
  mainTabs_->SetCurrent(kManualTab);

  const SettingsFile settings = SettingsFile::InDirectory(environment_.DataDirectory());
  if (settings.Exists()) ReadNumberFormat(settings, state_);
  reportStart_ = LoadReportStart(environment_);

  // Nothing to show yet: both pages and their controls stay disabled until data arrives.
  manualPage_->setEnabled(false);
  loggingPage_->setEnabled(false);
  EnableDataTabs();
  manualPage_->DataSelect()->setEnabled(false);
  manualPage_->StepGraph()->setEnabled(false);
  FillManualTable();
  FillLoggingTable();
  ShowLoggingGraph();
  ShowStepGraph(presentation_.selectedRecord);
  ShowLoggingInfo();
  emit flagsChanged();
}

int CMyQV70ProjectView::FrontTab() const { return mainTabs_->CurrentValue(); }

void CMyQV70ProjectView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const ViewLayout layout = LayoutView(width(), height());
  mainTabs_->setGeometry(layout.tabControl.left, layout.tabControl.top, layout.tabControl.Width(),
                         layout.tabControl.Height());
  for (QWidget* page : {static_cast<QWidget*>(manualPage_), static_cast<QWidget*>(loggingPage_)}) {
    page->setGeometry(layout.page.left, layout.page.top, qMax(0, layout.page.Width()),
                      qMax(0, layout.page.Height()));
  }
  reportChart_->setGeometry(layout.reportChart.left, layout.reportChart.top,
                            qMax(0, layout.reportChart.Width()), qMax(0, layout.reportChart.Height()));
  reportChart_->Refresh();
}

GraphChartCtrl* CMyQV70ProjectView::FrontChart() const {
  return FrontTab() == kManualTab ? manualPage_->StepGraph()->Chart() : loggingPage_->LoggingGraph()->Chart();
}

ChartCtrl& CMyQV70ProjectView::ChartForGraph(GraphChartCtrl* chart) {
  chart->Chart().SetDecimalChar(state_.tables.decimalChar == "," ? ',' : '.');
  return chart->Chart();
}

void CMyQV70ProjectView::SetGraphShown(int value) {
  if (flags_.graphShown == value) return;
  flags_.graphShown = value;
  emit flagsChanged();
}

void CMyQV70ProjectView::EnableDataTabs() {
  const bool data = state_.tables.dataState != DataState::NoData;
  manualPage_->GroupTabs()->setEnabled(data);
  loggingPage_->SetTabs()->setEnabled(data);
}

void CMyQV70ProjectView::BringPageToFront(int tab) {
  manualPage_->hide();
  manualPage_->setEnabled(false);
  loggingPage_->hide();
  loggingPage_->setEnabled(false);
  if (tab == kManualTab) {
    SetGraphShown(presentation_.stepGraphReady == 1 && manualPage_->StepGraphTicked() ? 1 : 0);
    MovePage(manualPage_, 2, TabFrame::kTabRowHeight);
    manualPage_->show();
    manualPage_->setEnabled(true);
  } else {
    if (state_.tables.dataState == DataState::NoData) SetGraphShown(0);
    loggingPage_->Header()->LoggingGraphBox()->setChecked(true);
    OnLoggingGraph();
    MovePage(loggingPage_, 2, TabFrame::kTabRowHeight);
    loggingPage_->show();
    loggingPage_->setEnabled(true);
  }
  EnableDataTabs();
}

void CMyQV70ProjectView::OnMainTabChosen(int tab) {
  const int target = PageSwitchTarget(tab, presentation_);
  if (target != tab) {
    mainTabs_->SetCurrent(target);
    return;
  }
  BringPageToFront(tab);
}

void CMyQV70ProjectView::ShowNewData(bool afterOpen) {
  manualPage_->setEnabled(true);
  loggingPage_->setEnabled(true);
  manualPage_->GroupTabs()->setEnabled(true);
  loggingPage_->SetTabs()->setEnabled(true);
  manualPage_->DataSelect()->setEnabled(true);
  manualPage_->StepGraph()->setEnabled(true);

  RebuildDataTabs();
  FillManualTable();
  FillLoggingTable();
  ShowLoggingInfo();
  ShowLoggingGraph();
  ShowStepGraph(afterOpen ? 0 : 1);
  manualPage_->DataSelect()->SetChoice(0);
  ApplyTestTypeFilter(0);
  if (afterOpen) presentation_.stepGraphReady = 0;

  const int front = FrontTab();
  const int target = PageAfterOpen(front, presentation_);
  if (target != front) {
    mainTabs_->SetCurrent(target);
    BringPageToFront(target);
  }
  update();

  flags_.saveEnabled = 1;
  flags_.reportEnabled = 1;
  flags_.rtfEnabled = 0;
  flags_.graphShown = 0;
  if (afterOpen && target == kLoggingTab && loggingPage_->LoggingGraphTicked()) flags_.graphShown = 1;
  emit flagsChanged();
}

void CMyQV70ProjectView::RebuildDataTabs() {
  const DataTabs tabs = qv70::RebuildDataTabs(state_.tables, presentation_);
  manualPage_->SetDataTabs(tabs.groups);
  loggingPage_->SetDataTabs(tabs.sets);
}

void CMyQV70ProjectView::FillManualTable() {
  bool any = false;
  for (int count : state_.tables.recordCount) any = any || count != 0;
  if (!any) return;
  TabFrame* tabs = manualPage_->GroupTabs();
  int position = tabs->Current();
  int group = manualPage_->FrontGroup();
  if (position < 0 || group < 0) {
    position = 0;
    group = presentation_.firstGroupWithData;
  }
  state_.tables.BuildDisplayRecords(group);
  manualPage_->Table(position)->Bind(group, state_.tables.recordCount[group]);
  RecordGridWidget* grid = manualPage_->GridAt(position);
  if (grid == nullptr) return;
  WriteManualRows(grid->Grid(), state_.tables, group, presentation_.testTypeFilter);
  manualPage_->ShowTable(position);
  tabs->SetCurrent(position);
  grid->Refresh();
}

void CMyQV70ProjectView::FillLoggingTable() {
  bool any = false;
  for (int count : state_.tables.sampleCount) any = any || count != 0;
  if (!any) return;
  TabFrame* tabs = loggingPage_->SetTabs();
  int position = tabs->Current();
  int set = loggingPage_->FrontSet();
  if (position < 0 || set < 0) {
    position = 0;
    set = presentation_.firstSetWithData;
  }
  state_.tables.BuildDisplaySamples(set);
  loggingPage_->Table(position)->Bind(set, state_.tables.sampleCount[set]);
  RecordGridWidget* grid = loggingPage_->GridAt(position);
  if (grid == nullptr) return;
  WriteLoggingRows(grid->Grid(), state_.tables, set);
  loggingPage_->ShowTable(position);
  tabs->SetCurrent(position);
  grid->Refresh();
}

void CMyQV70ProjectView::ShowLoggingInfo() {
  if (state_.tables.dataState == DataState::NoData) return;
  const int set = loggingPage_->FrontSet();
  if (set < 0) return;
  RecordTables& tables = state_.tables;
  LoggingHeaderPanel::Values values;
  values.setVoltageUnit = QString::fromStdString(ApplySetVoltageUnit(tables, set));
  values.intervalUnit = QString::fromStdString(ApplyTestIntervalUnit(tables, set));
  for (int field = header::kInterval; field <= header::kSetVoltage; ++field) {
    tables.Header(RecordCopy::Display, set, field) =
        tables.DisplayText(tables.Header(RecordCopy::Converted, set, field));
  }
  auto shown = [&](int field) {
    return QString::fromStdString(tables.Header(RecordCopy::Display, set, field));
  };
  values.interval = shown(header::kInterval);
  values.temperature = shown(header::kTemperature);
  values.humidity = shown(header::kHumidity);
  values.setVoltage = shown(header::kSetVoltage);
  loggingPage_->Header()->Show(values);
}

void CMyQV70ProjectView::ShowLoggingGraph() {
  // The logging graph panel shows the set of the tab in front.
  presentation_.loggingGraphSet = loggingPage_->FrontSet();
  qv70::ShowLoggingGraph(ChartForGraph(loggingPage_->LoggingGraph()->Chart()), state_.tables,
                         presentation_.loggingGraphSet);
}

void CMyQV70ProjectView::ShowStepGraph(int record) {
  const RecordRef chosen{manualPage_->FrontGroup(), record};
  if (!ChooseStepGraph(state_.tables, chosen, presentation_)) {
    SetGraphShown(0);
    return;
  }
  qv70::ShowStepGraph(ChartForGraph(manualPage_->StepGraph()->Chart()), state_.tables, chosen.group,
                      chosen.record);
  if (manualPage_->DataSelect()->Choice() == kFilterStepVoltage) {
    manualPage_->DataSelect()->StepGraphBox()->setChecked(true);
    OnStepGraph();
  }
}

double CMyQV70ProjectView::PrepareLoggingResistanceChart(int set) {
  return qv70::PrepareLoggingResistanceChart(ChartForGraph(reportChart_), state_.tables, set);
}

double CMyQV70ProjectView::PrepareLoggingCurrentChart(int set) {
  return qv70::PrepareLoggingCurrentChart(ChartForGraph(reportChart_), state_.tables, set);
}

double CMyQV70ProjectView::PrepareStepResistanceChart(int group, int record) {
  return qv70::PrepareStepResistanceChart(ChartForGraph(reportChart_), state_.tables, group, record);
}

double CMyQV70ProjectView::PrepareStepCurrentChart(int group, int record) {
  return qv70::PrepareStepCurrentChart(ChartForGraph(reportChart_), state_.tables, group, record);
}

void CMyQV70ProjectView::ApplyTestTypeFilter(int choice) {
  if (choice < 0 || choice > kFilterStepVoltage) return;
  if (choice == presentation_.testTypeFilter) return;
  presentation_.testTypeFilter = choice;
  for (int position = 0; position < DataPage::kPanels; ++position) {
    BuildManualColumns(manualPage_->GridAt(position)->Grid(), choice);
  }
  FillManualTable();
  QCheckBox* stepGraph = manualPage_->DataSelect()->StepGraphBox();
  if (choice == kFilterStepVoltage) {
    stepGraph->setEnabled(true);
    stepGraph->setChecked(true);
    OnStepGraph();
  } else {
    stepGraph->setEnabled(false);
    stepGraph->setChecked(false);
    for (int position = 0; position < DataPage::kPanels; ++position) manualPage_->GridAt(position)->Refresh();
    OnStepGraph();
    manualPage_->DataSelect()->SetChoice(choice);
  }
}

void CMyQV70ProjectView::OnStepGraph() {
  const bool ticked = manualPage_->StepGraphTicked();
  if (ticked) {
    if (presentation_.stepGraphReady == 1) SetGraphShown(1);
  } else {
    SetGraphShown(0);
  }
  manualPage_->ApplyLayout(LayoutStepGraphSwitch(width(), height(), ticked));
}

void CMyQV70ProjectView::OnLoggingGraph() {
  const bool ticked = loggingPage_->LoggingGraphTicked();
  if (ticked) {
    if (state_.tables.dataState != DataState::NoData) SetGraphShown(1);
  } else {
    SetGraphShown(0);
  }
  loggingPage_->ApplyLayout(LayoutLoggingGraphSwitch(width(), height(), ticked));
}

void CMyQV70ProjectView::OnRecordClicked(int record, bool manualTable) {
  if (record < 0) return;
  presentation_.selectedRecord = record;
  // A logging row names no manual record: the graphs, and whether one can be
  // copied, stay as they are.
  if (manualTable) ShowStepGraph(record);
}

void CMyQV70ProjectView::OnGroupTabChosen(int position) {
  manualPage_->ShowTable(position);
  FillManualTable();
}

void CMyQV70ProjectView::OnSetTabChosen(int position) {
  loggingPage_->ShowTable(position);
  FillLoggingTable();
  ShowLoggingInfo();
  ShowLoggingGraph();
}

// Command 101 of the chart of the page in front: it copies only while a graph is shown.
void CMyQV70ProjectView::OnCopyGraph() { FrontChart()->CopyCommand(); }

void CMyQV70ProjectView::OnCustomize() {
  NumberRedraw redraw;
  redraw.fillManualTable = [this] { FillManualTable(); };
  redraw.fillLoggingTable = [this] { FillLoggingTable(); };
  redraw.showLoggingGraph = [this] { ShowLoggingGraph(); };
  redraw.showStepGraph = [this] { ShowStepGraph(presentation_.selectedRecord); };
  redraw.showLoggingInfo = [this] { ShowLoggingInfo(); };
  CCustomizeDlg dialog(state_, environment_, redraw, window());
  dialog.exec();
}

void CMyQV70ProjectView::OnSetReport() {
  if (reportCommands_.setReport) {
    reportCommands_.setReport();
    return;
  }
  RunSetReport();
}

void CMyQV70ProjectView::RunSetReport() {
  if (!setReportDlg_) {
    setReportDlg_ = new CSetReportDlg(state_.tables, ui_, environment_, StartReportSettings(reportStart_), this);
  }
  if (setReportDlg_->Run() != QDialog::Accepted) return;
  flags_.rtfEnabled = 1;
  emit flagsChanged();
  OnPrintPreview();
}
std::optional<ReportSettings> CMyQV70ProjectView::ReportJobSettings() const {
  if (!setReportDlg_ || !setReportDlg_->Finished()) return std::nullopt;
  ReportSettings settings = setReportDlg_->Settings();
  settings.reportPageCount = PageCount(settings, state_.tables);
  return settings;
}

const QImage& CMyQV70ProjectView::ReportLogo() const {
  static const QImage none;
  return setReportDlg_ ? setReportDlg_->LogoBitmap() : none;
}

const RecordTables& CMyQV70ProjectView::Tables() const { return state_.tables; }

void CMyQV70ProjectView::OnSaveAsRtf() {
  if (reportCommands_.saveAsRtf) {
    reportCommands_.saveAsRtf();
    return;
  }
  const std::optional<ReportSettings> settings = ReportJobSettings();
  if (!settings) return;
  const QtFontMetrics metrics;
  SaveReportAsRtf(ui_, *settings, state_.tables, ReportChartForJob(), setReportDlg_->Logo(), metrics);
}
void CMyQV70ProjectView::OnPrint() {
  if (reportCommands_.print) reportCommands_.print();
}
void CMyQV70ProjectView::OnPrintDirect() {
  if (reportCommands_.printDirect) reportCommands_.printDirect();
}
void CMyQV70ProjectView::OnPrintPreview() {
  if (reportCommands_.printPreview) reportCommands_.printPreview();
}
void CMyQV70ProjectView::OnSaveReportPicture() {
  reportChart_->SaveBitmap(JoinPath(environment_.DataDirectory(), "DAT/Temp.bmp"));
}

}  // namespace qv70
