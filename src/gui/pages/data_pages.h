#pragma once

#include <QWidget>
#include <array>

#include "core/view/page_layout.h"

namespace qv70 {

class DataSelectBar;
class GraphPanel;
class LoggingHeaderPanel;
class TabFrame;
class TablePanel;

// The Manual Data page: the group tabs with one table panel per tab position,
// the Data Select bar and the step graph panel below them.
class ManualDataPage : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kPanels = 10;

  explicit ManualDataPage(QWidget* parent = nullptr);

  TabFrame* GroupTabs() const { return groupTabs_; }
  TablePanel* Table(int position) const { return tables_[position]; }
  DataSelectBar* DataSelect() const { return dataSelect_; }
  GraphPanel* StepGraph() const { return stepGraph_; }
  bool StepGraphTicked() const;

  // The group tabs: "GroupA".."GroupP" for every group marked, in order; none
  // at all leaves the control empty.
  void SetGroupTabs(const bool present[]);
  // The group index of the tab in front, from its caption; -1 with no tab.
  int FrontGroup() const;
  // Shows the table panel at tab position `position` and hides the others.
  void ShowTable(int position);
  // Places the children; nothing moves while any of them is missing.
  void ApplyLayout(const ManualPageLayout& layout);

 signals:
  void groupTabChosen(int position);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  TabFrame* groupTabs_ = nullptr;
  std::array<TablePanel*, kPanels> tables_{};
  DataSelectBar* dataSelect_ = nullptr;
  GraphPanel* stepGraph_ = nullptr;
};

// The Logging Data page: the set tabs with one table panel per tab position,
// the header panel on their right and the logging graph panel below them.
class LoggingDataPage : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kPanels = 10;

  explicit LoggingDataPage(QWidget* parent = nullptr);

  TabFrame* SetTabs() const { return setTabs_; }
  TablePanel* Table(int position) const { return tables_[position]; }
  LoggingHeaderPanel* Header() const { return header_; }
  GraphPanel* LoggingGraph() const { return loggingGraph_; }
  bool LoggingGraphTicked() const;

  // "Data Lr0".."Data Lr9" for every set marked.
  void SetSetTabs(const bool present[]);
  // The set number of the tab in front (the digit ending its caption); -1 with no tab.
  int FrontSet() const;
  void ShowTable(int position);
  void ApplyLayout(const LoggingPageLayout& layout);

 signals:
  void setTabChosen(int position);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  TabFrame* setTabs_ = nullptr;
  std::array<TablePanel*, kPanels> tables_{};
  LoggingHeaderPanel* header_ = nullptr;
  GraphPanel* loggingGraph_ = nullptr;
};

}  // namespace qv70
