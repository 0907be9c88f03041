#include "core/report/report_finish.h"

#include <algorithm>

#include "core/data/record_tables.h"
#include "core/report/messages.h"

namespace qv70 {

namespace {

std::optional<ReportKind> KindOfRecord(const std::string& testType) {
  const std::optional<TestType> type = TestTypeFromText(testType);
  if (!type) return std::nullopt;
  switch (*type) {
    case TestType::Normal: return ReportKind::Normal;
    case TestType::TC: return ReportKind::TC;
    case TestType::StepVoltage: return ReportKind::Step;
  }
  return std::nullopt;
}

size_t At(ReportKind kind) { return static_cast<size_t>(kind); }

// Ticked item boxes per kind, counting only the kinds present.
KindCounts CountedTicks(const std::string& itemFlags, const KindCounts& pages) {
  KindCounts ticks{};
  for (int i = 0; i < kReportItemCount; ++i) {
    const ReportKind kind = kReportItems[i].kind;
    if (itemFlags[i] == '1' && pages[At(kind)] > 0) ++ticks[At(kind)];
  }
  return ticks;
}

// The boxes' texts cut to their limits, for choices that did not come through
// the edits (which enforce them).
ReportSetChoices WithinLimits(ReportSetChoices choices) {
  choices.companyName = LimitText(choices.companyName, report_limit::kCompanyName);
  choices.picturePath = LimitText(choices.picturePath, report_limit::kPicturePath);
  choices.startPageText = LimitText(choices.startPageText, report_limit::kStartPage);
  choices.dataName = LimitText(choices.dataName, report_limit::kDataName);
  choices.author = LimitText(choices.author, report_limit::kAuthor);
  choices.timeText = LimitText(choices.timeText, report_limit::kTimeText);
  choices.customTimeText = LimitText(choices.customTimeText, report_limit::kTimeText);
  choices.commentText = LimitText(choices.commentText, report_limit::kComment);
  return choices;
}

}  // namespace

DataSelection GroupsAndSetsWithData(const RecordTables& tables) {
  DataSelection hasData{};
  for (int g = 0; g < kGroupCount; ++g) hasData[g] = tables.recordCount[g] >= 1;
  for (int s = 0; s < kSetCount; ++s) hasData[kGroupCount + s] = tables.sampleCount[s] >= 1;
  return hasData;
}

KindCounts CountSelectedRecords(const RecordTables& tables, const DataSelection& selection) {
  KindCounts counts{};
  for (int g = 0; g < kGroupCount; ++g) {
    if (!selection[g]) continue;
    for (int r = 0; r < kRecordsPerGroup; ++r) {
      const std::optional<ReportKind> kind =
          KindOfRecord(tables.Manual(RecordCopy::Converted, g, r, field::kTestType));
      if (kind) ++counts[At(*kind)];
    }
  }
  for (int s = 0; s < kSetCount; ++s) {
    if (selection[kGroupCount + s]) ++counts[At(ReportKind::Logging)];
  }
  return counts;
}

KindPresence PresentKinds(const KindCounts& counts) {
  KindPresence present{};
  for (size_t k = 0; k < counts.size(); ++k) present[k] = counts[k] > 0;
  return present;
}

DataSelection ReportSelection(const ReportChoices& choices, const RecordTables& tables) {
  DataSelection selection = GroupsAndSetsWithData(tables);
  if (choices.first.creationMethod == CreationMethod::PartialData) {
    for (size_t i = 0; i < selection.size(); ++i) selection[i] = selection[i] && choices.partialSelection[i];
  }
  return selection;
}

ResultOf<ReportSettings> FinishReport(const ReportChoices& choices, const RecordTables& tables) {
  ReportSettings settings;
  settings.selectedSets = ReportSelection(choices, tables);
  settings.itemFlags = NormalizedItemFlags(choices.itemFlags);

  KindCounts pages = CountSelectedRecords(tables, settings.selectedSets);
  const KindCounts ticks = CountedTicks(settings.itemFlags, pages);
  if (std::all_of(ticks.begin(), ticks.end(), [](int n) { return n == 0; }))
    return ResultOf<ReportSettings>::Failure(report_message::kChooseData);
  for (size_t k = 0; k < pages.size(); ++k) {
    if (ticks[k] == 0) pages[k] = 0;
  }
  settings.normalCount = pages[At(ReportKind::Normal)];
  settings.tcCount = pages[At(ReportKind::TC)];
  settings.stepCount = pages[At(ReportKind::Step)];
  settings.loggingCount = pages[At(ReportKind::Logging)];
  settings.reportPageCount =
      settings.normalCount + settings.tcCount + settings.stepCount + settings.loggingCount;

  const ReportSetChoices first = WithinLimits(choices.first);
  settings.paperSize = first.paperSize;
  settings.creationMethod = first.creationMethod;
  settings.logoOn = first.logoOn;
  settings.logoKind = first.logoKind;
  settings.companyName = first.companyName;
  settings.picturePath = first.picturePath;
  settings.pageNumberOn = first.pageNumberOn;
  settings.startPageText = first.startPageText;
  settings.dataNameOn = first.dataNameOn;
  settings.dataName = first.dataName;
  settings.authorOn = first.authorOn;
  settings.author = first.author;
  settings.timeOn = first.timeOn;
  settings.timeKind = first.timeKind;
  settings.customTimeText = first.customTimeText;
  settings.commentText = first.commentText;
  settings.commentRtf = first.commentRtf;
  settings.header = EffectiveHeaderTexts(first);
  settings.stepGraphKind = choices.stepGraphKind;
  settings.loggingGraphKind = choices.loggingGraphKind;
  return ResultOf<ReportSettings>::Success(std::move(settings));
}

}  // namespace qv70
