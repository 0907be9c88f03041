#include "core/data/record_tables.h"

#include <cassert>

namespace qv70 {

char GroupLetter(int group) {
  assert(group >= 0 && group < kGroupCount);
  return kGroupLetters[static_cast<size_t>(group)];
}

int GroupIndex(char letter) {
  size_t index = kGroupLetters.find(letter);
  return index == std::string_view::npos ? -1 : static_cast<int>(index);
}

std::string SetDataName(int set) { return "L" + std::to_string(set); }
std::string SetScreenName(int set) { return "Lr" + std::to_string(set); }

const char* TestTypeText(TestType type) {
  switch (type) {
    case TestType::Normal: return "Normal Test";
    case TestType::TC: return "TC Test";
    case TestType::StepVoltage: return "Step Voltage Test";
  }
  return "";
}

const char* TestTypeCode(TestType type) {
  switch (type) {
    case TestType::Normal: return "MN";
    case TestType::TC: return "MT";
    case TestType::StepVoltage: return "MS";
  }
  return "";
}

std::optional<TestType> TestTypeFromText(std::string_view text) {
  for (TestType type : kTestTypes) {
    if (text == TestTypeText(type)) return type;
  }
  return std::nullopt;
}

bool InstrumentInfo::operator==(const InstrumentInfo& other) const {
  return idn == other.idn && serialNumber == other.serialNumber && piT1 == other.piT1 &&
         piT2 == other.piT2 && stepInterval == other.stepInterval &&
         stepIntervalUnit == other.stepIntervalUnit;
}

void TableCopy::Clear() {
  for (auto& group : manual)
    for (auto& record : group)
      for (auto& cell : record) cell.clear();
  for (auto& header : headers)
    for (auto& cell : header) cell.clear();
  for (auto& set : samples)
    for (auto& sample : set)
      for (auto& cell : sample) cell.clear();
}

bool operator==(const TableCopy& a, const TableCopy& b) {
  for (int g = 0; g < kGroupCount; ++g)
    for (int r = 0; r < kRecordsPerGroup; ++r)
      if (a.manual[g][r] != b.manual[g][r]) return false;
  for (int s = 0; s < kSetCount; ++s) {
    if (a.headers[s] != b.headers[s]) return false;
    for (int i = 0; i < kMaxSamples; ++i)
      if (a.samples[s][i] != b.samples[s][i]) return false;
  }
  return true;
}

RecordTables::RecordTables() {
  for (auto& copy : copies_) copy = std::make_unique<TableCopy>();
}

ManualRecord& RecordTables::Record(RecordCopy copy, int group, int record) {
  assert(group >= 0 && group < kGroupCount && record >= 0 && record < kRecordsPerGroup);
  return Copy(copy).manual[group][record];
}

const ManualRecord& RecordTables::Record(RecordCopy copy, int group, int record) const {
  assert(group >= 0 && group < kGroupCount && record >= 0 && record < kRecordsPerGroup);
  return Copy(copy).manual[group][record];
}

std::string& RecordTables::Manual(RecordCopy copy, int group, int record, int field) {
  assert(field >= 0 && field < kManualFieldCount);
  return Record(copy, group, record)[static_cast<size_t>(field)];
}

const std::string& RecordTables::Manual(RecordCopy copy, int group, int record, int field) const {
  assert(field >= 0 && field < kManualFieldCount);
  return Record(copy, group, record)[static_cast<size_t>(field)];
}

std::string& RecordTables::Header(RecordCopy copy, int set, int field) {
  assert(set >= 0 && set < kSetCount && field >= 0 && field < kHeaderFieldCount);
  return Copy(copy).headers[set][static_cast<size_t>(field)];
}

const std::string& RecordTables::Header(RecordCopy copy, int set, int field) const {
  assert(set >= 0 && set < kSetCount && field >= 0 && field < kHeaderFieldCount);
  return Copy(copy).headers[set][static_cast<size_t>(field)];
}

std::string& RecordTables::Sample(RecordCopy copy, int set, int sampleIndex, int field) {
  assert(set >= 0 && set < kSetCount && sampleIndex >= 0 && sampleIndex < kMaxSamples);
  assert(field >= 0 && field < kSampleFieldCount);
  return Copy(copy).samples[set][sampleIndex][static_cast<size_t>(field)];
}

const std::string& RecordTables::Sample(RecordCopy copy, int set, int sampleIndex,
                                        int field) const {
  assert(set >= 0 && set < kSetCount && sampleIndex >= 0 && sampleIndex < kMaxSamples);
  assert(field >= 0 && field < kSampleFieldCount);
  return Copy(copy).samples[set][sampleIndex][static_cast<size_t>(field)];
}

static CountList JoinCounts(const std::array<int, kGroupCount>& records,
                            const std::array<int, kSetCount>& samples) {
  CountList counts{};
  for (int i = 0; i < kGroupCount; ++i) counts[static_cast<size_t>(i)] = records[static_cast<size_t>(i)];
  for (int i = 0; i < kSetCount; ++i)
    counts[static_cast<size_t>(kGroupCount + i)] = samples[static_cast<size_t>(i)];
  return counts;
}

static void SplitCounts(const CountList& counts, std::array<int, kGroupCount>& records,
                        std::array<int, kSetCount>& samples) {
  for (int i = 0; i < kGroupCount; ++i) records[static_cast<size_t>(i)] = counts[static_cast<size_t>(i)];
  for (int i = 0; i < kSetCount; ++i)
    samples[static_cast<size_t>(i)] = counts[static_cast<size_t>(kGroupCount + i)];
}

CountList RecordTables::Counts() const { return JoinCounts(recordCount, sampleCount); }
void RecordTables::SetCounts(const CountList& counts) { SplitCounts(counts, recordCount, sampleCount); }
CountList RecordTables::LoadedCounts() const { return JoinCounts(loadedRecordCount, loadedSampleCount); }
void RecordTables::SetLoadedCounts(const CountList& counts) {
  SplitCounts(counts, loadedRecordCount, loadedSampleCount);
}

void RecordTables::ClearLoadedCopy() { Copy(RecordCopy::Loaded).Clear(); }

void RecordTables::Reset() {
  for (auto& copy : copies_) copy->Clear();
  recordCount.fill(0);
  sampleCount.fill(0);
  loadedRecordCount.fill(0);
  loadedSampleCount.fill(0);
  info = InstrumentInfo{};
  dataState = DataState::NoData;
}

std::string RecordTables::DisplayText(std::string_view converted) const {
  return ApplyDecimalSymbol(converted, decimalChar);
}

void RecordTables::BuildDisplayRecords(int group) {
  for (int r = 0; r < kRecordsPerGroup; ++r)
    for (int f = 0; f < kManualFieldCount; ++f)
      Manual(RecordCopy::Display, group, r, f) = DisplayText(Manual(RecordCopy::Converted, group, r, f));
}

void RecordTables::BuildDisplayHeader(int set) {
  for (int f = 0; f < kHeaderFieldCount; ++f)
    Header(RecordCopy::Display, set, f) = DisplayText(Header(RecordCopy::Converted, set, f));
}

void RecordTables::BuildDisplaySamples(int set) {
  for (int i = 0; i < kMaxSamples; ++i)
    for (int f = 0; f < kSampleFieldCount; ++f)
      Sample(RecordCopy::Display, set, i, f) = DisplayText(Sample(RecordCopy::Converted, set, i, f));
}

std::string ApplyDecimalSymbol(std::string_view text, std::string_view decimalChar) {
  const bool comma = decimalChar == ",";
  const char from = comma ? '.' : ',';
  const char to = comma ? ',' : '.';
  std::string result(text);
  for (char& c : result)
    if (c == from) c = to;
  return result;
}

}  // namespace qv70
