#include "core/view/view_state.h"

#include "core/view/commands.h"

namespace qv70 {

const CommandTexts* FindCommandTexts(int id) {
  for (const CommandTexts& texts : kCommandTexts) {
    if (texts.id == id) return &texts;
  }
  return nullptr;
}

bool IsCommandEnabled(int commandId, const CommandFlags& flags) {
  switch (commandId) {
    case kCmdSave: return flags.saveEnabled == 1;
    case kCmdCopyGraph: return flags.graphShown == 1;
    case kCmdSetReport: return flags.reportEnabled == 1;
    case kCmdSaveAsRtf: return flags.rtfEnabled == 1;
    default: return true;
  }
}

int PageSwitchTarget(int chosenTab, const PresentationState& presentation) {
  if (chosenTab == kLoggingTab && presentation.loggingDataPresent == 0) return kManualTab;
  if (chosenTab == kManualTab && presentation.manualDataPresent == 0) return kLoggingTab;
  return chosenTab;
}

int PageAfterOpen(int frontTab, const PresentationState& presentation) {
  int tab = frontTab;
  if (tab == kLoggingTab && presentation.loggingDataPresent == 0) tab = kManualTab;
  if (tab == kManualTab && presentation.manualDataPresent == 0) tab = kLoggingTab;
  return tab;
}

DataTabs AllDataTabs() {
  DataTabs tabs;
  for (int g = 0; g < kGroupCount; ++g) tabs.groups.push_back(g);
  for (int s = 0; s < kSetCount; ++s) tabs.sets.push_back(s);
  return tabs;
}

DataTabs RebuildDataTabs(const RecordTables& tables, PresentationState& presentation) {
  DataTabs tabs;
  int records = 0;
  for (int g = 0; g < kGroupCount; ++g) records += tables.recordCount[g];
  presentation.manualDataPresent = records > 0 ? 1 : 0;
  for (int g = 0; g < kGroupCount && records > 0; ++g) {
    if (tables.recordCount[g] != 0) tabs.groups.push_back(g);
  }
  if (!tabs.groups.empty()) presentation.firstGroupWithData = tabs.groups.front();

  int samples = 0;
  for (int s = 0; s < kSetCount; ++s) samples += tables.sampleCount[s];
  presentation.loggingDataPresent = samples > 0 ? 1 : 0;
  for (int s = 0; s < kSetCount && samples > 0; ++s) {
    if (tables.sampleCount[s] != 0) tabs.sets.push_back(s);
  }
  if (!tabs.sets.empty()) presentation.firstSetWithData = tabs.sets.front();
  return tabs;
}

bool ChooseStepGraph(const RecordTables& tables, const RecordRef& record,
                     PresentationState& presentation) {
  const bool inRange = record.group >= 0 && record.group < kGroupCount && record.record >= 0 &&
                       record.record < kRecordsPerGroup;
  if (!inRange || tables.Manual(RecordCopy::Raw, record.group, record.record, field::kTestType) !=
                      TestTypeText(TestType::StepVoltage)) {
    presentation.stepGraphReady = 0;
    return false;
  }
  presentation.stepGraphReady = 1;
  presentation.stepGraph = record;
  return true;
}

}  // namespace qv70
