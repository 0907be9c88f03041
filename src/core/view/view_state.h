#pragma once

#include <vector>

#include "core/data/record_tables.h"

namespace qv70 {

// The main view's command flags, 0 or 1; the menus and the toolbar follow them.
struct CommandFlags {
  int saveEnabled = 0;
  int graphShown = 0;
  int reportEnabled = 0;
  int rtfEnabled = 0;
};

// Whether a command is enabled under `flags`: Save, Copy Graph, Set Report and
// Save as RTF follow their flag; every other command is always enabled.
bool IsCommandEnabled(int commandId, const CommandFlags& flags);

// One manual record by group and slot; -1 for none.
struct RecordRef {
  int group = -1;
  int record = -1;
  bool operator==(const RecordRef& o) const { return group == o.group && record == o.record; }
};

// What the pages show, kept for the whole program.
struct PresentationState {
  int manualDataPresent = 1;
  int loggingDataPresent = 1;
  int testTypeFilter = 0;  // 0 All, 1 Normal Test, 2 TC Test, 3 Step Voltage Test
  int selectedRecord = 0;
  int stepGraphReady = 0;
  int firstGroupWithData = 0;
  int firstSetWithData = 0;
  // What the graph panels were last given: the step graph keeps its record
  // when asked for one that has no step graph.
  RecordRef stepGraph;
  int loggingGraphSet = -1;
};

constexpr int kManualTab = 0;
constexpr int kLoggingTab = 1;

// The tab that ends up in front when the operator chooses `chosenTab`: a page
// without data gives way to the other one.
int PageSwitchTarget(int chosenTab, const PresentationState& presentation);

// After a file was opened: the logging test first, then the manual test, on
// the tab in front. Returns the tab to show.
int PageAfterOpen(int frontTab, const PresentationState& presentation);

// The tabs of the group and set tab controls: the group (set) each tab stands
// for, in tab order.
struct DataTabs {
  std::vector<int> groups;
  std::vector<int> sets;
};
// Before any data: all ten groups and all ten sets.
DataTabs AllDataTabs();
// After new data: the groups and sets that hold data, with the presence flags
// and first indices derived from the counts.
DataTabs RebuildDataTabs(const RecordTables& tables, PresentationState& presentation);

// ShowStepGraph's test: only a record whose raw type is exactly "Step Voltage
// Test" has a step graph. Sets `stepGraphReady` and, for such a record, the
// step graph's record; returns whether there is a graph to show.
bool ChooseStepGraph(const RecordTables& tables, const RecordRef& record,
                     PresentationState& presentation);

}  // namespace qv70
