#pragma once

#include <array>
#include <string>

#include "core/platform/result.h"
#include "core/report/report_pages.h"
#include "core/report/report_settings.h"

namespace qv70 {

class RecordTables;

// Every group and set whose count is at least 1.
DataSelection GroupsAndSetsWithData(const RecordTables& tables);

// Pages per kind of a selection, by ReportKind: the records of each test type
// in the selected groups (all ten slots of the converted copy, the type text
// matched exactly; other types count nowhere) and the selected logging sets.
using KindCounts = std::array<int, kReportKindCount>;
KindCounts CountSelectedRecords(const RecordTables& tables, const DataSelection& selection);
KindPresence PresentKinds(const KindCounts& counts);

// Everything the three pages hold when Finish is pressed.
struct ReportChoices {
  ReportSetChoices first;
  DataSelection partialSelection{};  // the group page's boxes, for "Select Partial Data"
  std::string itemFlags;             // the item page's boxes (ItemSelection::Flags)
  GraphKind stepGraphKind = GraphKind::Resistance;
  GraphKind loggingGraphKind = GraphKind::Resistance;
};

// The selection a report of `choices` covers: with "Select All Data" every
// group and set with data, else the group page's boxes that have data.
DataSelection ReportSelection(const ReportChoices& choices, const RecordTables& tables);

// Finish: the settings `choices` give for the data in `tables`, computed into
// a new value, so a refusal changes nothing. The counts are those of
// CountSelectedRecords; an item box counts only for a kind with records (a
// ticked box of an absent kind is still kept in itemFlags); a kind without a
// counted box gets no pages. A failure with "Please Choose Data To Print!"
// (caption "Message") when no box counts at all. Texts are cut to their
// limits. The caller commits the value, stores it (StoreReportSettings) and
// enables "Save as RTF".
ResultOf<ReportSettings> FinishReport(const ReportChoices& choices, const RecordTables& tables);

}  // namespace qv70
