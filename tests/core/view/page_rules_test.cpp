// The view's pure rules: command enabling, the page switch, the data tabs and
// the page geometry, each checked as numbers.
#include <gtest/gtest.h>

#include <vector>

#include "core/view/commands.h"
#include "core/view/page_layout.h"
#include "core/view/view_state.h"

namespace qv70 {
namespace {

struct EnableRow {
  const char* name;
  CommandFlags flags;
  int command;
  bool enabled;
};

TEST(CommandEnabling, FollowsTheFlagsOfTheView) {
  const CommandFlags none;
  const CommandFlags all{1, 1, 1, 1};
  const EnableRow rows[] = {
      {"save at start", none, kCmdSave, false},
      {"save after data", {1, 0, 0, 0}, kCmdSave, true},
      {"copy graph at start", none, kCmdCopyGraph, false},
      {"copy graph with graph shown", {0, 1, 0, 0}, kCmdCopyGraph, true},
      {"copy graph with save only", {1, 0, 1, 0}, kCmdCopyGraph, false},
      {"set report at start", none, kCmdSetReport, false},
      {"set report after data", {1, 0, 1, 0}, kCmdSetReport, true},
      {"rtf after data without report", {1, 0, 1, 0}, kCmdSaveAsRtf, false},
      {"rtf after report", {1, 0, 1, 1}, kCmdSaveAsRtf, true},
      {"open at start", none, kCmdOpen, true},
      {"obtain data at start", none, kCmdObtainData, true},
      {"qv70 setting at start", none, kCmdQv70Setting, true},
      {"customize at start", none, kCmdCustomize, true},
      {"help at start", none, kCmdHelp, true},
      {"about at start", none, kCmdAbout, true},
      {"exit with everything", all, kCmdExit, true},
  };
  for (const EnableRow& row : rows) {
    EXPECT_EQ(IsCommandEnabled(row.command, row.flags), row.enabled) << row.name;
  }
}

struct SwitchRow {
  const char* name;
  int manualPresent;
  int loggingPresent;
  int chosen;
  int front;
};

TEST(PageSwitchRule, APageWithoutDataGivesWay) {
  const SwitchRow rows[] = {
      {"logging at start", 1, 1, kLoggingTab, kLoggingTab},
      {"manual at start", 1, 1, kManualTab, kManualTab},
      {"logging without samples", 1, 0, kLoggingTab, kManualTab},
      {"manual without records", 0, 1, kManualTab, kLoggingTab},
      {"logging with samples only", 0, 1, kLoggingTab, kLoggingTab},
      {"manual with records only", 1, 0, kManualTab, kManualTab},
  };
  for (const SwitchRow& row : rows) {
    PresentationState presentation;
    presentation.manualDataPresent = row.manualPresent;
    presentation.loggingDataPresent = row.loggingPresent;
    EXPECT_EQ(PageSwitchTarget(row.chosen, presentation), row.front) << row.name;
  }
}

TEST(PageSwitchRule, AfterAnOpenTheLoggingTestRunsFirst) {
  const SwitchRow rows[] = {
      {"manual front, samples only", 0, 1, kManualTab, kLoggingTab},
      {"logging front, records only", 1, 0, kLoggingTab, kManualTab},
      {"logging front, both", 1, 1, kLoggingTab, kLoggingTab},
      {"manual front, both", 1, 1, kManualTab, kManualTab},
  };
  for (const SwitchRow& row : rows) {
    PresentationState presentation;
    presentation.manualDataPresent = row.manualPresent;
    presentation.loggingDataPresent = row.loggingPresent;
    EXPECT_EQ(PageAfterOpen(row.chosen, presentation), row.front) << row.name;
  }
}

TEST(RebuildDataTabs, KeepsTabsOfGroupsAndSetsWithData) {
  RecordTables tables;
  tables.recordCount[6] = 1;  // H
  tables.recordCount[2] = 3;  // C
  tables.sampleCount[9] = 2;
  tables.sampleCount[4] = 120;
  PresentationState presentation;
  const DataTabs tabs = RebuildDataTabs(tables, presentation);
  EXPECT_EQ(tabs.groups, (std::vector<int>{2, 6}));
  EXPECT_EQ(tabs.sets, (std::vector<int>{4, 9}));
  EXPECT_EQ(presentation.manualDataPresent, 1);
  EXPECT_EQ(presentation.loggingDataPresent, 1);
  EXPECT_EQ(presentation.firstGroupWithData, 2);
  EXPECT_EQ(presentation.firstSetWithData, 4);

  // No data: no tabs, and the first indices keep what they were.
  RecordTables empty;
  const DataTabs none = RebuildDataTabs(empty, presentation);
  EXPECT_EQ(presentation.manualDataPresent, 0);
  EXPECT_EQ(presentation.loggingDataPresent, 0);
  EXPECT_TRUE(none.groups.empty());
  EXPECT_TRUE(none.sets.empty());
  EXPECT_EQ(presentation.firstGroupWithData, 2);

  const DataTabs all = AllDataTabs();
  EXPECT_EQ(all.groups, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(all.sets.size(), 10u);
}

TEST(StepGraph, OnlyAStepVoltageRecordHasOne) {
  RecordTables tables;
  tables.Manual(RecordCopy::Raw, 6, 0, field::kTestType) = "Step Voltage Test";
  tables.Manual(RecordCopy::Raw, 6, 1, field::kTestType) = "Normal Test";
  tables.Manual(RecordCopy::Raw, 6, 2, field::kTestType) = "Step Voltage Test ";
  // Only the raw copy decides.
  tables.Manual(RecordCopy::Converted, 6, 3, field::kTestType) = "Step Voltage Test";
  tables.Manual(RecordCopy::Raw, 9, 9, field::kTestType) = "Step Voltage Test";
  const struct {
    const char* name;
    RecordRef record;
    bool graph;
  } rows[] = {
      {"H0 step voltage", {6, 0}, true},      {"P9, the last slot", {9, 9}, true},
      {"H1 normal test", {6, 1}, false},     {"H2 type with a blank", {6, 2}, false},
      {"H3 converted only", {6, 3}, false},  {"title row", {6, -1}, false},
      {"beyond the group", {6, 10}, false},  {"no group in front", {-1, 0}, false},
      {"group beyond P", {10, 0}, false},
  };
  for (const auto& row : rows) {
    PresentationState presentation;
    presentation.stepGraphReady = row.graph ? 0 : 1;
    presentation.stepGraph = {2, 5};
    EXPECT_EQ(ChooseStepGraph(tables, row.record, presentation), row.graph) << row.name;
    EXPECT_EQ(presentation.stepGraphReady, row.graph ? 1 : 0) << row.name;
    // A record without a graph leaves the graph showing what it showed.
    const RecordRef shown = row.graph ? row.record : RecordRef{2, 5};
    EXPECT_EQ(presentation.stepGraph, shown) << row.name;
  }
}

struct ManualLayoutRow {
  const char* name;
  int w, h;
  bool stepGraph;
  ManualPageLayout expected;
};

TEST(PageLayout, ManualPageGivesTheStepGraphTheLowerTwoFifths) {
  const ManualLayoutRow rows[] = {
      {"ticked 794x500", 794, 500, true,
       {{0, 0, 794, 240}, {4, 25, 780, 226}, {0, 240, 794, 300}, {0, 300, 794, 502}}},
      {"clear 794x500", 794, 500, false,
       {{0, 0, 794, 440}, {4, 25, 780, 426}, {0, 440, 794, 500}, {0, 501, 794, 502}}},
      {"ticked odd height 801x333", 801, 333, true,
       {{0, 0, 801, 139}, {4, 25, 787, 125}, {0, 139, 801, 199}, {0, 199, 801, 335}}},
  };
  for (const ManualLayoutRow& row : rows) {
    const ManualPageLayout got = LayoutManualPage(row.w, row.h, row.stepGraph);
    EXPECT_EQ(got.groupTabs, row.expected.groupTabs) << row.name;
    EXPECT_EQ(got.tablePanel, row.expected.tablePanel) << row.name;
    EXPECT_EQ(got.dataSelect, row.expected.dataSelect) << row.name;
    EXPECT_EQ(got.stepGraph, row.expected.stepGraph) << row.name;
  }
}

struct LoggingLayoutRow {
  const char* name;
  int w, h;
  bool graph;
  LoggingPageLayout expected;
};

TEST(PageLayout, LoggingPageKeepsTheHeaderPanelOnTheRight) {
  const LoggingLayoutRow rows[] = {
      {"ticked 794x500", 794, 500, true,
       {{0, 0, 594, 300}, {4, 25, 580, 286}, {594, 0, 794, 300}, {0, 300, 794, 502}}},
      {"clear 794x500", 794, 500, false,
       {{0, 0, 594, 502}, {4, 25, 580, 488}, {594, 0, 794, 502}, {0, 500, 794, 500}}},
  };
  for (const LoggingLayoutRow& row : rows) {
    const LoggingPageLayout got = LayoutLoggingPage(row.w, row.h, row.graph);
    EXPECT_EQ(got.setTabs, row.expected.setTabs) << row.name;
    EXPECT_EQ(got.tablePanel, row.expected.tablePanel) << row.name;
    EXPECT_EQ(got.header, row.expected.header) << row.name;
    EXPECT_EQ(got.loggingGraph, row.expected.loggingGraph) << row.name;
  }
}

TEST(PageLayout, GraphSwitchesPlaceFromTheViewSize) {
  const ManualPageLayout step = LayoutStepGraphSwitch(800, 555, true);  // 555*3/5 = 333
  EXPECT_EQ(step.groupTabs, (LayoutRect{0, 0, 795, 255}));
  EXPECT_EQ(step.tablePanel, (LayoutRect{4, 25, 782, 243}));
  EXPECT_EQ(step.dataSelect, (LayoutRect{0, 255, 795, 315}));
  EXPECT_EQ(step.stepGraph, (LayoutRect{0, 315, 795, 529}));
  const ManualPageLayout stepOff = LayoutStepGraphSwitch(800, 555, false);
  EXPECT_EQ(stepOff.groupTabs, (LayoutRect{0, 0, 795, 470}));
  EXPECT_EQ(stepOff.dataSelect, (LayoutRect{0, 470, 795, 527}));
  EXPECT_EQ(stepOff.stepGraph, (LayoutRect{0, 554, 795, 555}));

  const LoggingPageLayout logging = LayoutLoggingGraphSwitch(800, 555, true);
  EXPECT_EQ(logging.setTabs, (LayoutRect{0, 0, 594, 315}));
  EXPECT_EQ(logging.tablePanel, (LayoutRect{4, 25, 580, 301}));
  EXPECT_EQ(logging.header, (LayoutRect{594, 0, 794, 315}));
  EXPECT_EQ(logging.loggingGraph, (LayoutRect{0, 315, 794, 529}));
  const LoggingPageLayout loggingOff = LayoutLoggingGraphSwitch(800, 555, false);
  EXPECT_EQ(loggingOff.setTabs, (LayoutRect{0, 0, 594, 529}));
  EXPECT_EQ(loggingOff.loggingGraph, (LayoutRect{0, 555, 800, 555}));
}

TEST(PageLayout, ViewBarAndPanels) {
  const ViewLayout view = LayoutView(800, 531);
  EXPECT_EQ(view.tabControl, (LayoutRect{0, 0, 800, 531}));
  EXPECT_EQ(view.page, (LayoutRect{2, 22, 796, 525}));
  EXPECT_EQ(view.reportChart, (LayoutRect{10, 25, 790, 177}));
  const DataSelectLayout bar = LayoutDataSelect(794, 60);
  EXPECT_EQ(bar.groupBox, (LayoutRect{0, 0, 794, 60}));
  EXPECT_EQ(bar.stepGraphCheck, (LayoutRect{654, 20, 774, 50}));
  const GraphPanelLayout graph = LayoutGraphPanel(300, 200);
  EXPECT_EQ(graph.chart, (LayoutRect{10, 10, 290, 190}));
}

}  // namespace
}  // namespace qv70
