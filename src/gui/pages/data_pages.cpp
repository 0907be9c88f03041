#include "gui/pages/data_pages.h"

#include <QCheckBox>

#include "core/data/record_tables.h"
#include "core/view/table_grids.h"
#include "core/view/view_state.h"
#include "gui/grid/record_grid_widget.h"
#include "gui/pages/page_panels.h"
#include "gui/pages/tab_frame.h"

namespace qv70 {

namespace {

void Place(QWidget* widget, const LayoutRect& rect) {
  widget->setGeometry(rect.left, rect.top, qMax(0, rect.Width()), qMax(0, rect.Height()));
}

}  // namespace

DataPage::DataPage(const QString& name, const QString& tabsName, TablePanel::Kind kind, UiServices& ui,
                   QWidget* parent)
    : QWidget(parent), ui_(ui) {
  setObjectName(name);
  tabs_ = new TabFrame(this);
  tabs_->setObjectName(tabsName);
  for (int i = 0; i < kPanels; ++i) {
    tables_[i] = new TablePanel(kind, i, tabs_);
    auto* grid = new RecordGridWidget;
    grid->setObjectName(QString(kind == TablePanel::Kind::ManualRecords ? "RecordGrid%1" : "SampleGrid%1")
                            .arg(i));
    tables_[i]->SetGrid(grid);
  }
}

RecordGridWidget* DataPage::GridAt(int position) const {
  if (position < 0 || position >= kPanels) return nullptr;
  return qobject_cast<RecordGridWidget*>(tables_[position]->Grid());
}

void DataPage::AddBarAndGraph(QWidget* bar, const QString& graphName) {
  bar_ = bar;
  graph_ = new GraphPanel(graphName, ui_, this);
  ShowTable(0);
}

void DataPage::SetDataTabs(const std::vector<int>& indices) {
  tabs_->ClearTabs();
  for (int index : indices) tabs_->AddTab(TabCaption(index), index);
}

int DataPage::FrontIndex() const { return tabs_->CurrentValue(); }

void DataPage::ShowTable(int position) {
  for (int i = 0; i < kPanels; ++i) {
    const bool shown = i == position;
    tables_[i]->setVisible(shown);
    tables_[i]->setEnabled(shown);
  }
}

void DataPage::PlaceChildren(const LayoutRect& tabs, const LayoutRect& table, const LayoutRect& bar,
                             const LayoutRect& graph) {
  if (!tabs_ || !bar_ || !graph_) return;
  Place(tabs_, tabs);
  for (TablePanel* slot : tables_) Place(slot, table);
  Place(bar_, bar);
  Place(graph_, graph);
}

ManualDataPage::ManualDataPage(UiServices& ui, QWidget* parent)
    : DataPage("ManualDataPage", "GroupTabs", TablePanel::Kind::ManualRecords, ui, parent) {
  dataSelect_ = new DataSelectBar(this);
  dataSelect_->setObjectName("DataSelectBar");
  AddBarAndGraph(dataSelect_, "StepGraphPanel");
  SetDataTabs(AllDataTabs().groups);
  // Before any data each table is built for All, labelled " A0".." A9" and so on.
  for (int position = 0; position < kPanels; ++position) {
    BuildInitialManualGrid(GridAt(position)->Grid(), position);
    GridAt(position)->Refresh();
  }
  connect(Tabs(), &TabFrame::tabChosen, this, &ManualDataPage::groupTabChosen);
}

QString ManualDataPage::TabCaption(int group) const {
  return QString("Group%1").arg(GroupLetter(group));
}

bool ManualDataPage::StepGraphTicked() const { return dataSelect_->StepGraphBox()->isChecked(); }

void ManualDataPage::ApplyLayout(const ManualPageLayout& layout) {
  PlaceChildren(layout.groupTabs, layout.tablePanel, layout.dataSelect, layout.stepGraph);
}

void ManualDataPage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ApplyLayout(LayoutManualPage(width(), height(), StepGraphTicked()));
}

LoggingDataPage::LoggingDataPage(UiServices& ui, QWidget* parent)
    : DataPage("LoggingDataPage", "SetTabs", TablePanel::Kind::LoggingSamples, ui, parent) {
  header_ = new LoggingHeaderPanel(this);
  header_->setObjectName("LoggingHeaderPanel");
  AddBarAndGraph(header_, "LoggingGraphPanel");
  SetDataTabs(AllDataTabs().sets);
  for (int position = 0; position < kPanels; ++position) {
    BuildLoggingGrid(GridAt(position)->Grid());
    GridAt(position)->Refresh();
  }
  connect(Tabs(), &TabFrame::tabChosen, this, &LoggingDataPage::setTabChosen);
}

QString LoggingDataPage::TabCaption(int set) const {
  return QString::fromStdString("Data " + SetScreenName(set));
}

bool LoggingDataPage::LoggingGraphTicked() const { return header_->LoggingGraphBox()->isChecked(); }

void LoggingDataPage::ApplyLayout(const LoggingPageLayout& layout) {
  PlaceChildren(layout.setTabs, layout.tablePanel, layout.header, layout.loggingGraph);
}

void LoggingDataPage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ApplyLayout(LayoutLoggingPage(width(), height(), LoggingGraphTicked()));
}

}  // namespace qv70
