#include "core/files/data_file.h"

#include <climits>
#include <cstdlib>
#include <utility>

#include "core/data/record_tables.h"
#include "core/data/values.h"
#include "core/files/data_file_layout.h"
#include "core/files/messages.h"
#include "core/platform/bounded_file.h"
#include "core/platform/environment.h"

namespace qv70 {

namespace open_message {

std::string GroupCountOutOfRange(char group, int count, int limit) {
  return FormatText("Count out of range: group %c has %d records (0 to %d).", group, count, limit);
}

std::string SetCountOutOfRange(int set, int count, int limit) {
  return FormatText("Count out of range: set L%d has %d samples (0 to %d).", set, count, limit);
}

}  // namespace open_message

namespace {

bool Contains(std::string_view line, std::string_view text) {
  return line.find(text) != std::string_view::npos;
}

// ASCII only: the desktop locale must not change how a file reads.
char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

// atoi semantics, but a number beyond int does not wrap into a plausible count.
int CountValue(const std::string& text) {
  long value = std::strtol(text.c_str(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

// Counts beyond the tables would make the readers and every later user run off
// the fixed shapes; such a file is refused before anything is stored.
bool ReadCounts(std::string_view line, char separator, CountList& counts, std::string& message) {
  std::string fields[kCountListSize];
  SplitFields(line, separator, fields, kCountListSize, false);
  for (int i = 0; i < kCountListSize; ++i) {
    int value = CountValue(fields[i]);
    const bool group = i < kGroupCount;
    const int limit = group ? kRecordsPerGroup : kMaxSamples;
    if (value < 0 || value > limit) {
      message = group ? open_message::GroupCountOutOfRange(GroupLetter(i), value, limit)
                      : open_message::SetCountOutOfRange(i - kGroupCount, value, limit);
      return false;
    }
    counts[static_cast<size_t>(i)] = value;
  }
  return true;
}


std::string WithoutLastCharacter(std::string_view line) {
  return std::string(line.substr(0, line.empty() ? 0 : line.size() - 1));
}

class Reader {
 public:
  Reader(std::string_view content, RecordTables& tables, InstrumentInfo& info)
      : lines_(content), tables_(tables), loaded_(tables.Copy(RecordCopy::Loaded)), info_(info) {}

  Result Run() {
    tables_.ClearLoadedCopy();
    std::string_view tag = lines_.Next();
    if (!Contains(tag, kNameTag)) return Fail(open_message::kNotEnglishVersion);
    return Contains(tag, " V") ? ReadCurrentLayout() : ReadOlderLayout();
  }

 private:
  static Result Fail(std::string message) { return Result::Failure(std::move(message)); }

  // Reads a line and tells whether it contains `text`.
  bool NextContains(std::string_view text) { return Contains(lines_.Next(), text); }

  Result ReadCurrentLayout() {
    lines_.Next();
    if (!NextContains(section::kCounts)) return Fail(open_message::kLackDatanum);

    std::string_view countsLine = lines_.Next();
    const char sep = Contains(countsLine, ",") ? ',' : ';';
    CountList counts{};
    std::string message;
    if (!ReadCounts(countsLine, sep, counts, message)) return Fail(message);
    tables_.SetLoadedCounts(counts);

    lines_.Next();
    if (!NextContains(section::kLogging)) return Fail(open_message::kLackLogging);
    lines_.Next();

    const std::string headerTitle = WithSeparator(kLoggingHeaderTitle, sep);
    const std::string sampleTitle = WithSeparator(kSampleTitle, sep);
    for (int s = 0; s < kSetCount; ++s) {
      const int count = tables_.loadedSampleCount[static_cast<size_t>(s)];
      if (count == 0) continue;
      if (!NextContains(headerTitle)) return Fail(open_message::kLackHeader);
      LoggingHeader& header = loaded_.headers[s];
      SplitFields(lines_.Next(), sep, header.data(), kHeaderFieldCount, true);
      if (!IsSetLabel(header[header::kNo], s)) return Fail(open_message::kInconsistentSet);
      if (!NextContains(sampleTitle)) return Fail(open_message::kLackHeader);
      for (int i = 0; i < count; ++i) {
        std::string fields[kSampleFieldCount];
        SplitFields(lines_.Next(), sep, fields, kSampleFieldCount, true);
        KeepSampleValues(s, i, fields);
      }
      lines_.Next();
    }

    if (!NextContains(section::kManual)) return Fail(open_message::kLackManual);
    lines_.Next();

    const std::string manualTitle = WithSeparator(kManualTitle, sep);
    for (int g = 0; g < kGroupCount; ++g) {
      if (tables_.loadedRecordCount[static_cast<size_t>(g)] == 0) continue;
      if (!NextContains(manualTitle)) return Fail(open_message::kLackManualHeader);
      for (int r = 0; r < kRecordsPerGroup; ++r) {
        ManualRecord& record = loaded_.manual[g][r];
        for (auto& cell : record) cell.clear();
        SplitFields(lines_.Next(), sep, record.data(), kManualFieldCount, true);
      }
      lines_.Next();
    }

    if (!NextContains(section::kTime)) return Fail(open_message::kLackTime);
    lines_.Next();
    if (!NextContains(section::kIdn)) return Fail(open_message::kLackIdn);

    std::string_view idnLine = lines_.Next();
    if (!IdentificationLineAccepted(idnLine, sep)) return Fail(open_message::kLackVersion);
    info_.idn = std::string(idnLine);

    lines_.Next();
    if (!NextContains(section::kSerial)) return Fail(open_message::kLackSerial);
    info_.serialNumber = std::string(lines_.Next());

    lines_.Next();
    if (!NextContains(section::kPi)) return Fail(open_message::kLackPi);
    if (!NextContains(WithSeparator(kPiTitle, sep))) return Fail(open_message::kLackPiTitle);
    ReadPiTimes(lines_.Next(), sep);

    lines_.Next();
    if (!NextContains(section::kStep)) return Fail(open_message::kLackStep);
    std::string step[1];
    SplitFields(lines_.Next(), sep, step, 1, false);
    SetStepInterval(step[0]);
    return Result::Success();
  }

  Result ReadOlderLayout() {
    if (!NextContains(section::kCounts)) return Fail(open_message::kLackDatanum);
    CountList counts{};
    std::string message;
    if (!ReadCounts(lines_.Next(), ',', counts, message)) return Fail(message);
    tables_.SetLoadedCounts(counts);

    const size_t afterCounts = lines_.Position();
    MarkAbsentEntries(counts);
    tables_.SetLoadedCounts(counts);
    lines_.Seek(afterCounts);

    if (!NextContains(section::kLogging)) return Fail(open_message::kLackLogging);
    for (int s = 0; s < kSetCount; ++s) {
      const int count = tables_.loadedSampleCount[static_cast<size_t>(s)];
      if (count == 0) continue;
      LoggingHeader& header = loaded_.headers[s];
      SplitFields(lines_.Next(), ',', header.data(), kHeaderFieldCount, false);
      if (!IsSetLabel(header[header::kNo], s)) return Fail(open_message::kInconsistentSetOlder);
      for (int i = 0; i < count; ++i) {
        std::string fields[kSampleFieldCount];
        SplitFields(lines_.Next(), ',', fields, kSampleFieldCount, false, true);
        KeepSampleValues(s, i, fields);
      }
    }

    if (!NextContains(section::kManual)) return Fail(open_message::kLackManual);
    for (int g = 0; g < kGroupCount; ++g) {
      const int count = tables_.loadedRecordCount[static_cast<size_t>(g)];
      int slot = 0;
      for (int n = 0; n < count; ++n) {
        std::string_view line = lines_.Next();
        if (line.size() >= 2 && line[1] >= '0' && line[1] <= '9') slot = line[1] - '0';
        ManualRecord& record = loaded_.manual[g][slot];
        // Pieces are appended: a second line for the same slot extends its texts.
        SplitFields(line, ',', record.data(), kManualFieldCount, false);
        const std::string& label = record[field::kDataNo];
        if (label.empty() || AsciiUpper(label[0]) != GroupLetter(g))
          return Fail(open_message::kInconsistentGroupOlder);
        ExpandCompactOrder(record);
      }
    }

    if (!NextContains(section::kTime)) return Fail(open_message::kLackTime);
    if (!NextContains(section::kIdn)) return Fail(open_message::kLackIdn);
    std::string idnParts[3];
    SplitFields(lines_.Next(), ',', idnParts, 3, false);
    std::string idn = idnParts[0] + idnParts[1] + idnParts[2];
    if (!Contains(idn, kIdentificationMark)) return Fail(open_message::kLackVersionOlder);
    info_.idn = idn;

    if (!SectionWithinTwoLines(section::kSerial)) return Fail(open_message::kLackSerial);
    info_.serialNumber = WithoutLastCharacter(lines_.Next());
    if (!SectionWithinTwoLines(section::kPi)) return Fail(open_message::kLackPi);
    ReadPiTimes(lines_.Next(), ',');
    if (!SectionWithinTwoLines(section::kStep)) return Fail(open_message::kLackStep);
    SetStepInterval(WithoutLastCharacter(lines_.Next()));
    return Result::Success();
  }

  // Older files list only what the instrument held: a group or set whose count
  // says data but which has no line of its own is taken as empty.
  void MarkAbsentEntries(CountList& counts) {
    static constexpr std::string_view kLabels = "A0B0C0D0E0F0H0J0N0P0L0L1L2L3L4L5L6L7L8L9";
    bool present[kCountListSize] = {};
    while (!lines_.AtEnd()) {
      std::string_view line = lines_.Next();
      size_t comma = line.find(',');
      if (comma != 2) continue;
      std::string key(line.substr(0, 2));
      if (key.find('L') == std::string::npos && std::atoi(key.c_str()) <= 0) key.resize(1);
      size_t p = kLabels.find(key);
      if (p == std::string_view::npos) continue;
      const size_t entry = p / 2;
      if (counts[entry] > 0) present[entry] = true;
    }
    for (int i = 0; i < kCountListSize; ++i)
      if (!present[i]) counts[static_cast<size_t>(i)] = 0;
  }

  static void ExpandCompactOrder(ManualRecord& record) {
    const std::string& type = record[field::kTestType];
    if (EqualsIgnoringCase(type, "Step Voltage Test")) {
      record[field::kStepInterval] = record[field::kElapsed];
      record[field::kElapsed].clear();
      for (int i = 0; i < 10; ++i) {
        record[static_cast<size_t>(field::kStep1Voltage + i)] = record[static_cast<size_t>(field::kOutputVoltage + i)];
        record[static_cast<size_t>(field::kOutputVoltage + i)].clear();
      }
    } else if (EqualsIgnoringCase(type, "TC Test")) {
      for (int i = 0; i < 3; ++i) {
        record[static_cast<size_t>(field::kRefTemperature + i)] = record[static_cast<size_t>(field::kRes15s + i)];
        record[static_cast<size_t>(field::kRes15s + i)].clear();
      }
    }
  }

  // Reads a line and, when it lacks the section name, one more.
  bool SectionWithinTwoLines(std::string_view name) { return NextContains(name) || NextContains(name); }

  void KeepSampleValues(int set, int index, std::string* fields) {
    LoggingSample& sample = loaded_.samples[set][index];
    sample[sample::kOutputVoltage] = std::move(fields[sample::kOutputVoltage]);
    sample[sample::kResistance] = std::move(fields[sample::kResistance]);
  }

  void ReadPiTimes(std::string_view line, char sep) {
    std::string times[2];
    SplitFields(line, sep, times, 2, false);
    info_.piT1 = times[0];
    info_.piT2 = times[1];
  }

  void SetStepInterval(std::string interval) {
    info_.stepIntervalUnit = Contains(interval, "30") ? "[s]" : "[min]";
    info_.stepInterval = std::move(interval);
  }

  LineReader lines_;
  RecordTables& tables_;
  TableCopy& loaded_;
  InstrumentInfo& info_;
};

}  // namespace

bool IsSetLabel(std::string_view number, int set) {
  const char label[3] = {'L', static_cast<char>('0' + set), '\0'};
  return set >= 0 && set < kSetCount && EqualsIgnoringCase(number, label);
}

bool IdentificationReadsBack(const std::string& idn) {
  for (char separator : {',', ';'}) {
    // As the reader meets it; a line it must cut in two would shift every
    // section after it.
    const std::string written = IdentificationLine(idn, separator) + "\r\n";
    LineReader reader(written);
    if (!IdentificationLineAccepted(reader.Next(), separator) || !reader.AtEnd()) return false;
  }
  return true;
}

Result ParseDataFile(std::string_view content, RecordTables& tables, InstrumentInfo& info) {
  return Reader(content, tables, info).Run();
}

Result ReadDataFile(const std::string& path, RecordTables& tables) {
  if (!FileExists(path)) return Result::Failure(open_message::FileNotFound(path));
  const BoundedFile file = ReadBoundedFile(path, kMaxDataFileSize);
  if (file.state != FileState::Read) return Result::Failure(open_message::FileNotReadable(path));

  InstrumentInfo info;
  Result outcome = ParseDataFile(file.content, tables, info);
  if (!outcome.ok) return outcome;
  tables.info = std::move(info);
  tables.dataState = DataState::Saved;
  InstallLoadedData(tables);
  return outcome;
}

}  // namespace qv70
