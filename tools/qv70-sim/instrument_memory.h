#pragma once

#include <array>
#include <string>
#include <vector>

// What the simulated instrument holds, kept in the form it sends: every value
// is the text that goes into its reply.
namespace qv70::sim {

constexpr int kGroups = 10;
constexpr int kSlots = 10;
constexpr int kSets = 10;
constexpr int kMaxSetSamples = 360;
constexpr char kGroupLetters[] = "ABCDEFHJNP";

// One memory record slot: its reply values in the instrument's order (label,
// type code "MN", "MT" or "MS", then the type's values). A slot holding only
// a label, or nothing at all, is a slot without a record.
struct MemorySlot {
  std::vector<std::string> values;

  bool HasRecord() const { return values.size() >= 2; }
};

struct LoggingPoint {
  std::string voltage;     // whole volts
  std::string resistance;  // ohms in exponent form, or "OF" / "UF"
};

struct LoggingMemory {
  // No., test type, start date, start time, interval [s], temperature, humidity, set voltage.
  std::array<std::string, 8> header;
  std::vector<LoggingPoint> points;  // at most kMaxSetSamples
};

struct InstrumentMemory {
  MemorySlot slots[kGroups][kSlots];
  // Records present per group, as the count query reports them.
  std::array<int, kGroups> recordCount{};
  LoggingMemory sets[kSets];

  std::string idn = "ZAVEL ,QV70 ,Ver1.00";
  std::string serial = "09120345";
  // PI times t1 and t2 and the step interval code, as the queries answer them.
  std::string piT1 = "01";
  std::string piT2 = "10";
  std::string stepCode = "01";

  // The 20 counts: records of groups A..P, then samples of sets 0..9.
  std::array<int, kGroups + kSets> Counts() const;
  // Every record count follows the slots that hold a record.
  void RecountRecords();
};

// ---- Value texts as the instrument writes them ----

// Ohms in exponent form with a lower-case e and at least one decimal, as short
// as still gives back the same number: 5e9 -> "5.0e+09", 1.234e11 -> "1.234e+11".
std::string FormatResistance(double ohms);
// A resistance text from a data file: a plain decimal number (whole ohms) is
// rewritten in exponent form; anything else (marks, exponent forms, empty) is kept.
std::string ResistanceText(const std::string& text);
// The memory slot label: group letter and slot digit ("A0").
std::string SlotLabel(int group, int slot);

}  // namespace qv70::sim
