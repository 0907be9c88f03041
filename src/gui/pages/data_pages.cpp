#include "gui/pages/data_pages.h"

#include <QCheckBox>

#include "core/data/record_tables.h"
#include "gui/pages/page_panels.h"
#include "gui/pages/tab_frame.h"
#include "gui/pages/table_panels.h"

namespace qv70 {

namespace {

void Place(QWidget* widget, const LayoutRect& rect) {
  widget->setGeometry(rect.left, rect.top, qMax(0, rect.Width()), qMax(0, rect.Height()));
}

template <typename Panels>
void ShowOnly(const Panels& panels, int position) {
  for (int i = 0; i < static_cast<int>(panels.size()); ++i) {
    const bool shown = i == position;
    panels[i]->setVisible(shown);
    panels[i]->setEnabled(shown);
  }
}

}  // namespace

ManualDataPage::ManualDataPage(QWidget* parent) : QWidget(parent) {
  setObjectName("ManualDataPage");
  groupTabs_ = new TabFrame(this);
  groupTabs_->setObjectName("GroupTabs");
  for (int g = 0; g < kGroupCount; ++g) groupTabs_->AddTab(QString("Group%1").arg(GroupLetter(g)));
  for (int i = 0; i < kPanels; ++i) {
    tables_[i] = new TablePanel(TablePanel::Kind::ManualRecords, i, groupTabs_);
  }
  dataSelect_ = new DataSelectBar(this);
  dataSelect_->setObjectName("DataSelectBar");
  stepGraph_ = new GraphPanel("StepGraphPanel", this);
  ShowTable(0);
  connect(groupTabs_, &TabFrame::tabChosen, this, &ManualDataPage::groupTabChosen);
}

bool ManualDataPage::StepGraphTicked() const { return dataSelect_->StepGraphBox()->isChecked(); }

void ManualDataPage::SetGroupTabs(const bool present[]) {
  groupTabs_->ClearTabs();
  for (int g = 0; g < kGroupCount; ++g) {
    if (present[g]) groupTabs_->AddTab(QString("Group%1").arg(GroupLetter(g)));
  }
}

int ManualDataPage::FrontGroup() const {
  const int tab = groupTabs_->Current();
  if (tab < 0) return -1;
  const QString caption = groupTabs_->TabText(tab);
  if (caption.isEmpty()) return -1;
  return GroupIndex(caption.back().toLatin1());
}

void ManualDataPage::ShowTable(int position) { ShowOnly(tables_, position); }

void ManualDataPage::ApplyLayout(const ManualPageLayout& layout) {
  if (!groupTabs_ || !dataSelect_ || !stepGraph_) return;
  Place(groupTabs_, layout.groupTabs);
  for (TablePanel* table : tables_) Place(table, layout.tablePanel);
  Place(dataSelect_, layout.dataSelect);
  Place(stepGraph_, layout.stepGraph);
}

void ManualDataPage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ApplyLayout(LayoutManualPage(width(), height(), StepGraphTicked()));
}

LoggingDataPage::LoggingDataPage(QWidget* parent) : QWidget(parent) {
  setObjectName("LoggingDataPage");
  setTabs_ = new TabFrame(this);
  setTabs_->setObjectName("SetTabs");
  for (int s = 0; s < kSetCount; ++s) setTabs_->AddTab(QString("Data Lr%1").arg(s));
  for (int i = 0; i < kPanels; ++i) {
    tables_[i] = new TablePanel(TablePanel::Kind::LoggingSamples, i, setTabs_);
  }
  header_ = new LoggingHeaderPanel(this);
  header_->setObjectName("LoggingHeaderPanel");
  loggingGraph_ = new GraphPanel("LoggingGraphPanel", this);
  ShowTable(0);
  connect(setTabs_, &TabFrame::tabChosen, this, &LoggingDataPage::setTabChosen);
}

bool LoggingDataPage::LoggingGraphTicked() const { return header_->LoggingGraphBox()->isChecked(); }

void LoggingDataPage::SetSetTabs(const bool present[]) {
  setTabs_->ClearTabs();
  for (int s = 0; s < kSetCount; ++s) {
    if (present[s]) setTabs_->AddTab(QString("Data Lr%1").arg(s));
  }
}

int LoggingDataPage::FrontSet() const {
  const int tab = setTabs_->Current();
  if (tab < 0) return -1;
  const QString caption = setTabs_->TabText(tab);
  if (caption.isEmpty() || !caption.back().isDigit()) return -1;
  return caption.back().digitValue();
}

void LoggingDataPage::ShowTable(int position) { ShowOnly(tables_, position); }

void LoggingDataPage::ApplyLayout(const LoggingPageLayout& layout) {
  if (!setTabs_ || !header_ || !loggingGraph_) return;
  Place(setTabs_, layout.setTabs);
  for (TablePanel* table : tables_) Place(table, layout.tablePanel);
  Place(header_, layout.header);
  Place(loggingGraph_, layout.loggingGraph);
}

void LoggingDataPage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ApplyLayout(LayoutLoggingPage(width(), height(), LoggingGraphTicked()));
}

}  // namespace qv70
