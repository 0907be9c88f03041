#include "core/view/table_content.h"

#include <array>
#include <cstdio>

#include "core/data/record_tables.h"

namespace qv70 {

namespace {

// The title of each record field as its column shows it; the All table spells
// two of them differently (below).
constexpr std::array<const char*, kManualFieldCount> kFieldTitles = {
    " Data No.",
    " Test Type \n ",
    " Date \n ",
    " Time \n ",
    " Elapsed Time \n ",
    " Temperature \n [C]",
    " Humidity \n [%RH]",
    " Set Voltage \n [kV]",
    " Output Voltage \n [kV]",
    " Resistance \n [GOhms]",
    " 15sec Resistance \n [GOhms]",
    " 30sec Resistance \n [GOhms]",
    " 1min Resistance \n [GOhms]",
    " DAR 15s value \n [1min/15s]",
    " DAR 30s value \n [1min/30s]",
    " t1 \n [min]",
    " t1 Resistance \n [GOhms]",
    " t2 \n [min]",
    " t2 Resistance \n [GOhms]",
    " PI Value \n [t2/t1]",
    " Ref. Temperature \n [C]",
    " TC Resistance \n [GOhms]",
    " Table No. \n ",
    " Step Interval \n [sec]",
    " Step1 Voltage \n [kV]",
    " Step1 Resistance \n [GOhms]",
    " Step2 Voltage \n [kV]",
    " Step2 Resistance \n [GOhms]",
    " Step3 Voltage \n [kV]",
    " Step3 Resistance \n [GOhms]",
    " Step4 Voltage \n [kV]",
    " Step4 Resistance \n [GOhms]",
    " Step5 Voltage \n [kV]",
    " Step5 Resistance \n [GOhms]",
};

constexpr std::array<const char*, kLoggingTableColumns> kLoggingTitles = {
    " No.", " Date", " Time", " Elapsed Time", " Output Voltage \n [kV]", " Resistance \n [GOhms]"};

// Which field each column shows, column 0 being the label.
constexpr int kTcFields[] = {-1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 20, 21, 22};
constexpr int kStepFields[] = {-1, 1, 2, 3, 23, 5, 6, 7, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33};

bool ValidFilter(int filter) { return filter >= kFilterAll && filter <= kFilterStepVoltage; }

// The type a record must have to show under `filter`; null for All.
const char* RequiredType(int filter) {
  switch (filter) {
    case kFilterNormal: return "Normal Test";
    case kFilterTc: return "TC Test";
    case kFilterStepVoltage: return "Step Voltage Test";
    default: return nullptr;
  }
}

}  // namespace

int ManualColumnCount(int filter) {
  switch (filter) {
    case kFilterAll: return kManualFieldCount;
    case kFilterNormal: return 20;
    case kFilterTc: return static_cast<int>(std::size(kTcFields));
    case kFilterStepVoltage: return static_cast<int>(std::size(kStepFields));
    default: return 0;
  }
}

int ManualColumnField(int filter, int column) {
  if (!ValidFilter(filter) || column <= 0 || column >= ManualColumnCount(filter)) return -1;
  if (filter == kFilterTc) return kTcFields[column];
  if (filter == kFilterStepVoltage) return kStepFields[column];
  return column;
}

std::string ManualColumnTitle(int filter, int column) {
  if (!ValidFilter(filter) || column < 0 || column >= ManualColumnCount(filter)) return {};
  if (filter == kFilterAll && column == field::kTableNo) return " Table No. \n";
  if (filter == kFilterAll && column == 28) return " Step3 Voltage \n[ kV]";
  const int shown = column == 0 ? 0 : ManualColumnField(filter, column);
  return kFieldTitles[static_cast<size_t>(shown)];
}

std::string RecordLabel(int group, int record) {
  char text[16];
  std::snprintf(text, sizeof text, "%c%d", GroupLetter(group), record);
  return text;
}

std::string InitialRecordLabel(int group, int record) { return " " + RecordLabel(group, record); }

std::vector<std::string> ManualRowTexts(const RecordTables& tables, int group, int record, int filter) {
  std::vector<std::string> row(static_cast<size_t>(ManualColumnCount(filter)));
  if (row.empty()) return row;
  row[0] = RecordLabel(group, record);
  const char* type = RequiredType(filter);
  if (type != nullptr && tables.Manual(RecordCopy::Converted, group, record, field::kTestType) != type) {
    return row;
  }
  for (size_t column = 1; column < row.size(); ++column) {
    const int shown = ManualColumnField(filter, static_cast<int>(column));
    row[column] = tables.Manual(RecordCopy::Display, group, record, shown);
  }
  return row;
}

std::string LoggingColumnTitle(int column) {
  if (column < 0 || column >= kLoggingTableColumns) return {};
  return kLoggingTitles[static_cast<size_t>(column)];
}

std::vector<std::string> LoggingRowTexts(const RecordTables& tables, int set, int sampleIndex) {
  std::vector<std::string> row(kLoggingTableColumns);
  if (set < 0 || set >= kSetCount || sampleIndex < 0 || sampleIndex >= tables.sampleCount[set]) return row;
  row[0] = std::to_string(sampleIndex + 1);
  for (int f = 0; f < kSampleFieldCount; ++f) {
    row[static_cast<size_t>(f + 1)] = tables.Sample(RecordCopy::Display, set, sampleIndex, f);
  }
  return row;
}

}  // namespace qv70
