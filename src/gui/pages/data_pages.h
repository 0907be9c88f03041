#pragma once

#include <QWidget>
#include <array>
#include <vector>

#include "core/view/page_layout.h"
#include "gui/pages/table_panels.h"

namespace qv70 {

class DataSelectBar;
class GraphPanel;
class LoggingHeaderPanel;
class RecordGridWidget;
class TabFrame;
class UiServices;

// What the two data pages share: a tab control whose tabs each stand for one
// group (or set), ten table slots inside it (one per tab position, for the
// grid of the group or set in front), a bar beside or below the tables and a
// graph panel below them. Each page lays these out by its own rule.
class DataPage : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kPanels = 10;

  TablePanel* Table(int position) const { return tables_[position]; }
  // The grid of the table slot at `position`; null outside 0..9.
  RecordGridWidget* GridAt(int position) const;
  GraphPanel* Graph() const { return graph_; }
  TabFrame* Tabs() const { return tabs_; }

  // One tab per group (set) listed, in that order; none leaves the control empty.
  void SetDataTabs(const std::vector<int>& indices);
  // The group (set) of the tab in front; -1 with no tab.
  int FrontIndex() const;
  // Shows the table slot at tab position `position` and hides the others.
  void ShowTable(int position);

 protected:
  // `ui` shows the graph panel's messages.
  DataPage(const QString& name, const QString& tabsName, TablePanel::Kind kind, UiServices& ui,
           QWidget* parent);
  // The page's children once the subclass has made its bar; the graph panel
  // comes last, as in the dialog templates.
  void AddBarAndGraph(QWidget* bar, const QString& graphName);
  // Places the children; nothing moves while any of them is missing.
  void PlaceChildren(const LayoutRect& tabs, const LayoutRect& table, const LayoutRect& bar,
                     const LayoutRect& graph);
  // The caption of the tab that stands for group (set) `index`.
  virtual QString TabCaption(int index) const = 0;

 private:
  TabFrame* tabs_ = nullptr;
  std::array<TablePanel*, kPanels> tables_{};
  UiServices& ui_;
  QWidget* bar_ = nullptr;
  GraphPanel* graph_ = nullptr;
};

// The Manual Data page: the group tabs "GroupA".."GroupP" with the record
// tables, the Data Select bar and the step graph panel below them.
class ManualDataPage : public DataPage {
  Q_OBJECT

 public:
  explicit ManualDataPage(UiServices& ui, QWidget* parent = nullptr);

  TabFrame* GroupTabs() const { return Tabs(); }
  DataSelectBar* DataSelect() const { return dataSelect_; }
  GraphPanel* StepGraph() const { return Graph(); }
  bool StepGraphTicked() const;
  // The group of the tab in front; -1 with no tab.
  int FrontGroup() const { return FrontIndex(); }
  void ApplyLayout(const ManualPageLayout& layout);

 signals:
  void groupTabChosen(int position);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  QString TabCaption(int group) const override;

 private:
  DataSelectBar* dataSelect_ = nullptr;
};

// The Logging Data page: the set tabs "Data Lr0".."Data Lr9" with the sample
// tables, the header panel on their right and the logging graph panel below.
class LoggingDataPage : public DataPage {
  Q_OBJECT

 public:
  explicit LoggingDataPage(UiServices& ui, QWidget* parent = nullptr);

  TabFrame* SetTabs() const { return Tabs(); }
  LoggingHeaderPanel* Header() const { return header_; }
  GraphPanel* LoggingGraph() const { return Graph(); }
  bool LoggingGraphTicked() const;
  // The set of the tab in front; -1 with no tab.
  int FrontSet() const { return FrontIndex(); }
  void ApplyLayout(const LoggingPageLayout& layout);

 signals:
  void setTabChosen(int position);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  QString TabCaption(int set) const override;

 private:
  LoggingHeaderPanel* header_ = nullptr;
};

}  // namespace qv70
