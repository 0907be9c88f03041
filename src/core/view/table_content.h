#pragma once

#include <string>
#include <vector>

namespace qv70 {

class RecordTables;

// What the table pages show, as texts: the column titles of the manual tables
// per test-type filter and of the logging tables, and the texts of each row,
// taken from the display copy. The pages put them into their grids.

// The test-type filter of the Data Select panel (PresentationState::testTypeFilter).
enum TestTypeFilter : int { kFilterAll = 0, kFilterNormal = 1, kFilterTc = 2, kFilterStepVoltage = 3 };

constexpr int kManualTableRows = 11;   // a title row and ten records
constexpr int kLoggingTableRows = 361;  // a title row and 360 samples
constexpr int kLoggingTableColumns = 6;

// 34, 20, 13 or 18 columns; 0 for a filter outside 0..3.
int ManualColumnCount(int filter);
// The title of a column (row 0); empty outside the filter's columns.
std::string ManualColumnTitle(int filter, int column);
// The record field a column shows under a filter: -1 for the label column 0
// and for a column outside the filter's columns.
int ManualColumnField(int filter, int column);

// The label of record `record` of `group` in column 0: "%s%d", letter and digit.
std::string RecordLabel(int group, int record);
// The label before any data: a blank, the letter and the digit (" A0").
std::string InitialRecordLabel(int group, int record);

// Grid row record + 1 under `filter`: the label, then the display fields the
// filter shows when the record is of the filter's type (every record for All);
// other cells empty. The display copy of the group must be built first.
std::vector<std::string> ManualRowTexts(const RecordTables& tables, int group, int record, int filter);

// " No.", " Date", " Time", " Elapsed Time", and the voltage and resistance titles.
std::string LoggingColumnTitle(int column);
// Grid row index + 1 of a set: the sample number and its five display fields,
// or six empty cells past the set's sample count.
std::vector<std::string> LoggingRowTexts(const RecordTables& tables, int set, int sampleIndex);

// Column widths: the first column is sized to its contents, every other one is this wide.
constexpr int kTableColumnWidth = 110;
constexpr int kSampleRowHeight = 20;

}  // namespace qv70
