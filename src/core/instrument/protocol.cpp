#include "core/instrument/protocol.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "core/data/values.h"

namespace qv70 {

namespace {
const char* const kStepEntries[kStepEntryCount] = {"30s", "1min", "2min", "5min"};
const char* const kStepCodes[kStepEntryCount] = {"30", "01", "02", "05"};
// The character that picks each entry, tested in this order: "3" before "1"
// is the fixed rule (a reply "13" selects 30 s).
const char* const kStepMarks[kStepEntryCount] = {"3", "1", "2", "5"};

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// Digits 0..9 only; anything else would make an invalid command.
char Digit(int index) { return static_cast<char>('0' + std::clamp(index, 0, 9)); }

// Every occurrence of `from`, scanning left to right without rescanning replaced text.
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  std::string result;
  result.reserve(text.size());
  std::size_t start = 0;
  for (std::size_t found; (found = text.find(from, start)) != std::string::npos;
       start = found + from.size()) {
    result.append(text, start, found - start);
    result.append(to);
  }
  result.append(text, start, std::string::npos);
  return result;
}
// Stored cells never hold a line end (a data file keeps one record per line);
// a reply that carries one inside a value, which no sound instrument sends,
// would otherwise save a file that cannot be opened again.
std::string WithoutLineEnds(std::string text) {
  text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }),
             text.end());
  return text;
}

// A value as it is stored: line ends dropped, then the exponent form rewritten.
std::string StoredValue(std::string value) {
  if (value.find_first_of("\r\n") != std::string::npos) value = WithoutLineEnds(std::move(value));
  if (value.find('e') == std::string::npos) return value;
  return ReformatExponent(value);
}

// The splitting rule over a view that only moves forward, so a long logging
// reply is split in one pass instead of being copied down after every value.
class ValueCursor {
 public:
  explicit ValueCursor(std::string_view text) : rest_(text) {}
  std::string Next() {
    std::size_t comma = rest_.find(',');
    if (comma == std::string_view::npos) return {};
    std::string value(rest_.substr(0, comma));
    rest_.remove_prefix(comma + 1);
    return value;
  }
  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};
}  // namespace

std::string CountCommand() { return ":MEM:DATA? COUNT\n"; }

std::string MemoryRecordCommand(int group, int record) {
  return std::string(":MEM:DATA? ") + GroupLetter(std::clamp(group, 0, kGroupCount - 1)) +
         Digit(record) + "\n";
}

std::string LoggingCommand(int set) { return std::string(":MEM:DATA? L") + Digit(set) + "\n"; }
std::string IdentificationCommand() { return "*IDN?\n"; }
std::string SerialCommand() { return ":SERIAL?\n"; }
std::string PiQueryCommand() { return ":SET:PI?\n"; }
std::string StepQueryCommand() { return ":SET:STEP?\n"; }

std::string ClockCommand(const std::tm& when) {
  return FormatText(":TIME %04d, %02d, %02d, %02d, %02d, %02d\n", when.tm_year + 1900,
                    when.tm_mon + 1, when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec);
}

std::string PiSetCommand(const std::string& t1, const std::string& t2) {
  return ":SET:PI " + t1 + ", " + t2 + "\n";
}

const char* StepEntryText(int index) {
  return index >= 0 && index < kStepEntryCount ? kStepEntries[index] : nullptr;
}

const char* StepCode(int index) {
  return index >= 0 && index < kStepEntryCount ? kStepCodes[index] : nullptr;
}

std::string StepSetCommand(const std::string& entryText) {
  for (int i = 0; i < kStepEntryCount; ++i) {
    if (Contains(entryText, kStepMarks[i])) return std::string(":SET:STEP ") + kStepCodes[i] + "\n";
  }
  return {};
}

std::string TakeNextValue(std::string& rest) {
  std::size_t comma = rest.find(',');
  if (comma == std::string::npos) return {};
  std::string value = rest.substr(0, comma);
  rest.erase(0, comma + 1);
  return value;
}

std::string CutTerminator(std::string_view reply) {
  return reply.size() < 2 ? std::string() : std::string(reply.substr(0, reply.size() - 2));
}

std::string ReformatExponent(const std::string& value) {
  if (!Contains(value, "e")) return value;
  return FormatFixed(TextToDouble(value), 6);
}

CountList ParseCounts(const std::string& reply) {
  // Counts are positional: when the commas run out, the text left is the
  // current count and the later ones are 0. (Plain splitting would shift a
  // short reply's last count into the last logging set.)
  CountList counts{};
  std::string rest = reply;
  for (int i = 0; i < kCountListSize - 1; ++i) {
    if (rest.find(',') == std::string::npos) {
      counts[i] = TextToInt(rest);
      return counts;
    }
    counts[i] = TextToInt(TakeNextValue(rest));
  }
  counts[kCountListSize - 1] = TextToInt(rest);
  return counts;
}

CountList LimitCounts(const CountList& counts) {
  CountList limited = counts;
  for (int i = 0; i < kCountListSize; ++i) {
    int most = i < kGroupCount ? kRecordsPerGroup : kMaxSamples;
    limited[i] = std::clamp(limited[i], 0, most);
  }
  return limited;
}

std::string ParseTextReply(const std::string& reply) { return WithoutLineEnds(CutTerminator(reply)); }

PiTimes ParsePiReply(const std::string& reply) {
  std::string rest = WithoutLineEnds(CutTerminator(reply));
  PiTimes times;
  times.t1 = TakeNextValue(rest);
  times.t2 = rest;
  return times;
}

std::string ParseStepReply(const std::string& reply) { return WithoutLineEnds(CutTerminator(reply)); }

std::string StepIntervalUnit(const std::string& stepText) {
  return Contains(stepText, "30") ? "[s]" : "[min]";
}

int StepEntryForReply(const std::string& stepText) {
  for (int i = 0; i < kStepEntryCount; ++i) {
    if (Contains(stepText, kStepMarks[i])) return i;
  }
  return -1;
}

bool IsAcknowledged(const std::string& reply) { return Contains(reply, "OK"); }

void ParseMemoryRecord(std::string reply, ManualRecord& record) {
  int n = 0;
  if (Contains(reply, "MN")) {
    n = 20;
  } else if (Contains(reply, "MT")) {
    n = 13;
  } else if (Contains(reply, "MS")) {
    n = 18;
  }
  ValueCursor values(reply);
  int i = 0;
  for (; i < n - 1; ++i) record[i] = StoredValue(values.Next());
  record[i] = StoredValue(CutTerminator(values.Rest()));

  if (n == 13) {
    // TC records keep reference temperature, TC resistance and table number in
    // their own columns; 15 s to 1 min resistance belong to normal tests.
    for (int c = 0; c < 3; ++c) {
      record[field::kRefTemperature + c] = std::move(record[field::kRes15s + c]);
      record[field::kRes15s + c].clear();
    }
  } else if (n == 18) {
    record[field::kStepInterval] = std::move(record[field::kElapsed]);
    record[field::kElapsed].clear();
    for (int c = 0; c < 10; ++c) {
      record[field::kStep1Voltage + c] = std::move(record[field::kOutputVoltage + c]);
      record[field::kOutputVoltage + c].clear();
    }
  }
}

void ParseLoggingSet(std::string reply, int count, LoggingHeader& header, LoggingSample* samples) {
  // The instrument sends an extra comma after an over-range resistance.
  reply = ReplaceAll(std::move(reply), "OF,,", "OF,");
  ValueCursor values(reply);
  for (int c = 0; c < kHeaderFieldCount; ++c) header[c] = StoredValue(values.Next());
  count = std::clamp(count, 0, kMaxSamples);
  for (int i = 0; i < count; ++i) {
    samples[i][sample::kOutputVoltage] = StoredValue(values.Next());
    if (i == count - 1) {
      std::string last = StoredValue(CutTerminator(values.Rest()));
      if (Contains(last, "OF")) last = last.substr(0, 2);
      samples[i][sample::kResistance] = std::move(last);
    } else {
      samples[i][sample::kResistance] = StoredValue(values.Next());
    }
  }
}

}  // namespace qv70
