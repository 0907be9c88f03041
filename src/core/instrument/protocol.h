#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "core/data/record_tables.h"

// The instrument's command set and reply grammars as pure functions over text.
// Nothing here talks to the instrument or reports anything: values that do not
// parse stay as text (or read as 0 where a number is needed), exactly as the
// download and settings jobs expect.
namespace qv70 {

// ---- Commands (every one ends with a line feed) ----
std::string CountCommand();                             // ":MEM:DATA? COUNT\n"
std::string MemoryRecordCommand(int group, int record);  // ":MEM:DATA? A0\n"
std::string LoggingCommand(int set);                     // ":MEM:DATA? L3\n"
std::string IdentificationCommand();                     // "*IDN?\n"
std::string SerialCommand();                             // ":SERIAL?\n"
std::string PiQueryCommand();                            // ":SET:PI?\n"
std::string StepQueryCommand();                          // ":SET:STEP?\n"
// ":TIME 2009, 03, 05, 14, 07, 09\n" for the broken-down local time `when`.
std::string ClockCommand(const std::tm& when);
// ":SET:PI " + t1 + ", " + t2 + "\n" with the texts exactly as given.
std::string PiSetCommand(const std::string& t1, const std::string& t2);

// The step list: "30s", "1min", "2min", "5min" (index 0..3) and the codes sent.
constexpr int kStepEntryCount = 4;
const char* StepEntryText(int index);  // nullptr outside 0..3
const char* StepCode(int index);       // "30", "01", "02", "05"; nullptr outside 0..3
// ":SET:STEP " + code + "\n" for the list entry text shown (first of "3", "1",
// "2", "5" it contains decides); empty when the text contains none of them.
std::string StepSetCommand(const std::string& entryText);

// ---- Reply grammars ----
// Splitting: the text before the first comma of `rest`, which then loses that
// text and the comma. With no comma the value is empty and `rest` stays whole.
std::string TakeNextValue(std::string& rest);
// The reply less its two terminator characters (empty when it is shorter).
std::string CutTerminator(std::string_view reply);
// A value holding a lower-case "e" becomes the "%lf" text of its number.
std::string ReformatExponent(const std::string& value);

// C: the 20 counts (groups A..P, then logging sets 0..9), read with atoi. A
// short reply fills the counts in order and leaves the rest 0.
CountList ParseCounts(const std::string& reply);
// Bounds counts to what the tables hold: records 0..10 per group, samples 0..360
// per set. Applied to every count reply before any logging reply is parsed.
CountList LimitCounts(const CountList& counts);

// T: any text, less its terminator.
std::string ParseTextReply(const std::string& reply);
// P: "t1,t2" plus terminator.
struct PiTimes {
  std::string t1;
  std::string t2;
};
PiTimes ParsePiReply(const std::string& reply);
// S: the step code text, less its terminator.
std::string ParseStepReply(const std::string& reply);
// "[s]" when the step text contains "30", else "[min]".
std::string StepIntervalUnit(const std::string& stepText);
// The list entry a step text selects: "3" -> 0, "1" -> 1, "2" -> 2, "5" -> 3
// (first test that matches wins); -1 when none matches.
int StepEntryForReply(const std::string& stepText);
// K: success when the reply contains "OK".
bool IsAcknowledged(const std::string& reply);

// M: a memory record reply into `record`, with the type's field placement
// ("MN" 20 values, "MT" 13, "MS" 18, otherwise the whole reply in field 0).
// Only fields the reply fills are written.
void ParseMemoryRecord(std::string reply, ManualRecord& record);
// L: a logging set reply into the header and the voltage and resistance of
// samples 0 .. count - 1 (count is bounded to 0..360 here as well).
void ParseLoggingSet(std::string reply, int count, LoggingHeader& header, LoggingSample* samples);

}  // namespace qv70
