#pragma once

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

// What the pages show, kept for the whole program.
struct PresentationState {
  int manualDataPresent = 1;
  int loggingDataPresent = 1;
  int testTypeFilter = 0;  // 0 All, 1 Normal Test, 2 TC Test, 3 Step Voltage Test
  int selectedRecord = 0;
  int stepGraphReady = 0;
  int firstGroupWithData = 0;
  int firstSetWithData = 0;
};

constexpr int kManualTab = 0;
constexpr int kLoggingTab = 1;

// The tab that ends up in front when the operator chooses `chosenTab`: a page
// without data gives way to the other one.
int PageSwitchTarget(int chosenTab, const PresentationState& presentation);

// After a file was opened: the logging test first, then the manual test, on
// the tab in front. Returns the tab to show.
int PageAfterOpen(int frontTab, const PresentationState& presentation);

// Tabs of the group and set tab controls: which groups and sets hold data, and
// the presence flags and first indices derived from the counts.
struct DataTabs {
  bool groupTab[kGroupCount] = {};
  bool setTab[kSetCount] = {};
};
DataTabs RebuildDataTabs(const RecordTables& tables, PresentationState& presentation);

}  // namespace qv70
