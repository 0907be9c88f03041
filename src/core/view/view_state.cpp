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

DataTabs RebuildDataTabs(const RecordTables& tables, PresentationState& presentation) {
  DataTabs tabs;
  int records = 0;
  for (int g = 0; g < kGroupCount; ++g) records += tables.recordCount[g];
  if (records > 0) {
    presentation.manualDataPresent = 1;
    for (int g = kGroupCount - 1; g >= 0; --g) {
      if (tables.recordCount[g] != 0) {
        tabs.groupTab[g] = true;
        presentation.firstGroupWithData = g;
      }
    }
  } else {
    presentation.manualDataPresent = 0;
  }
  int samples = 0;
  for (int s = 0; s < kSetCount; ++s) samples += tables.sampleCount[s];
  if (samples == 0) {
    presentation.loggingDataPresent = 0;
    return tabs;
  }
  presentation.loggingDataPresent = 1;
  for (int s = kSetCount - 1; s >= 0; --s) {
    if (tables.sampleCount[s] != 0) {
      tabs.setTab[s] = true;
      presentation.firstSetWithData = s;
    }
  }
  return tabs;
}

}  // namespace qv70
