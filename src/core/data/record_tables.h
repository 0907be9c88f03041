#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qv70 {

constexpr int kGroupCount = 10;
constexpr int kRecordsPerGroup = 10;
constexpr int kManualFieldCount = 34;
constexpr int kSetCount = 10;
constexpr int kHeaderFieldCount = 8;
constexpr int kMaxSamples = 360;
constexpr int kSampleFieldCount = 5;
constexpr int kCountListSize = kGroupCount + kSetCount;

// Memory groups 0..9 carry these letters on the instrument (there is no G, I, K, L, M or O).
constexpr std::string_view kGroupLetters = "ABCDEFHJNP";

char GroupLetter(int group);
// The index of a group letter, or -1 when the letter names no group.
int GroupIndex(char letter);
// "L0".."L9": a logging set as named in data and files.
std::string SetDataName(int set);
// "Lr0".."Lr9": a logging set as named on screen.
std::string SetScreenName(int set);

enum class TestType { Normal, TC, StepVoltage };
constexpr std::array<TestType, 3> kTestTypes = {TestType::Normal, TestType::TC, TestType::StepVoltage};

// "Normal Test", "TC Test", "Step Voltage Test".
const char* TestTypeText(TestType type);
// The instrument's codes "MN", "MT", "MS".
const char* TestTypeCode(TestType type);
// Exact match of the type text, as stored in field 1 of a record.
std::optional<TestType> TestTypeFromText(std::string_view text);

// The manual record fields by number, in the data file's column order.
namespace field {
constexpr int kDataNo = 0, kTestType = 1, kDate = 2, kTime = 3, kElapsed = 4, kTemperature = 5,
              kHumidity = 6, kSetVoltage = 7, kOutputVoltage = 8, kResistance = 9, kRes15s = 10,
              kRes30s = 11, kRes1min = 12, kDar15s = 13, kDar30s = 14, kT1 = 15, kT1Resistance = 16,
              kT2 = 17, kT2Resistance = 18, kPi = 19, kRefTemperature = 20, kTcResistance = 21,
              kTableNo = 22, kStepInterval = 23, kStep1Voltage = 24;
}  // namespace field
namespace header {
constexpr int kNo = 0, kTestType = 1, kDate = 2, kTime = 3, kInterval = 4, kTemperature = 5,
              kHumidity = 6, kSetVoltage = 7;
}  // namespace header
namespace sample {
constexpr int kDate = 0, kTime = 1, kElapsed = 2, kOutputVoltage = 3, kResistance = 4;
}  // namespace sample

using ManualRecord = std::array<std::string, kManualFieldCount>;
using LoggingHeader = std::array<std::string, kHeaderFieldCount>;
using LoggingSample = std::array<std::string, kSampleFieldCount>;
using CountList = std::array<int, kCountListSize>;

// One full copy of the three table shapes.
struct TableCopy {
  ManualRecord manual[kGroupCount][kRecordsPerGroup];
  LoggingHeader headers[kSetCount];
  LoggingSample samples[kSetCount][kMaxSamples];

  void Clear();
};

// Cell-by-cell equality of two copies.
bool operator==(const TableCopy& a, const TableCopy& b);
inline bool operator!=(const TableCopy& a, const TableCopy& b) { return !(a == b); }

enum class RecordCopy { Raw = 0, Converted = 1, Loaded = 2, Display = 3 };

enum class DataState { NoData = 0, Unsaved = 1, Saved = 2 };

struct InstrumentInfo {
  std::string idn;
  std::string serialNumber;
  std::string piT1;
  std::string piT2;
  std::string stepInterval;
  std::string stepIntervalUnit;

  bool operator==(const InstrumentInfo& other) const;
};

// The one store of every measurement the program knows: four independent copies of
// the tables, the counts, the instrument texts and the data state. Created once by
// its owner and passed by reference; the shapes are fixed and allocated up front.
// Indices are not checked here beyond debug assertions: callers iterate the fixed
// ranges above, and every outside input is bounded before it reaches a table.
class RecordTables {
 public:
  RecordTables();
  RecordTables(const RecordTables&) = delete;
  RecordTables& operator=(const RecordTables&) = delete;

  TableCopy& Copy(RecordCopy copy) { return *copies_[static_cast<int>(copy)]; }
  const TableCopy& Copy(RecordCopy copy) const { return *copies_[static_cast<int>(copy)]; }
  // Puts `replacement` (not null) in place of one copy, without copying a cell,
  // and hands back the copy it replaced. References to that copy then name the
  // one handed back.
  std::unique_ptr<TableCopy> ReplaceCopy(RecordCopy copy, std::unique_ptr<TableCopy> replacement) {
    copies_[static_cast<int>(copy)].swap(replacement);
    return replacement;
  }

  ManualRecord& Record(RecordCopy copy, int group, int record);
  const ManualRecord& Record(RecordCopy copy, int group, int record) const;
  std::string& Manual(RecordCopy copy, int group, int record, int field);
  const std::string& Manual(RecordCopy copy, int group, int record, int field) const;
  std::string& Header(RecordCopy copy, int set, int field);
  const std::string& Header(RecordCopy copy, int set, int field) const;
  std::string& Sample(RecordCopy copy, int set, int sampleIndex, int field);
  const std::string& Sample(RecordCopy copy, int set, int sampleIndex, int field) const;

  // The 20 counts: groups A..P (records, 0..10), then sets L0..L9 (samples, 0..360).
  CountList Counts() const;
  void SetCounts(const CountList& counts);
  CountList LoadedCounts() const;
  void SetLoadedCounts(const CountList& counts);

  // Empties every cell of the loaded copy.
  void ClearLoadedCopy();
  // Back to the state at start: every copy empty, counts 0, texts empty, no data.
  void Reset();

  // The display text of a converted text under the current decimal character.
  std::string DisplayText(std::string_view converted) const;
  // Rebuilds the display copy of one group, one set's header or one set's samples.
  void BuildDisplayRecords(int group);
  void BuildDisplayHeader(int set);
  void BuildDisplaySamples(int set);

  std::array<int, kGroupCount> recordCount{};
  std::array<int, kSetCount> sampleCount{};
  std::array<int, kGroupCount> loadedRecordCount{};
  std::array<int, kSetCount> loadedSampleCount{};
  InstrumentInfo info;
  DataState dataState = DataState::NoData;
  // "." or ","; follows the DECIMAL setting.
  std::string decimalChar = ".";

 private:
  std::array<std::unique_ptr<TableCopy>, 4> copies_;
};

// With decimalChar "," every "." becomes ","; otherwise every "," becomes ".".
std::string ApplyDecimalSymbol(std::string_view text, std::string_view decimalChar);

}  // namespace qv70
