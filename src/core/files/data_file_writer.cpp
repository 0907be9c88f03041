#include "core/files/data_file.h"

#include <algorithm>
#include <vector>

#include "core/data/program_state.h"
#include "core/data/record_tables.h"
#include "core/files/atomic_file.h"
#include "core/files/data_file_layout.h"
#include "core/files/messages.h"

namespace qv70 {

namespace {

class Writer {
 public:
  Writer(const RecordTables& tables, const NumberFormat& format)
      : tables_(tables),
        raw_(tables.Copy(RecordCopy::Raw)),
        converted_(tables.Copy(RecordCopy::Converted)),
        // Any DECIMAL but 0 is the comma, as for the decimal character the
        // tables are shown with. A comma decimal with a comma separator could
        // never be read back.
        commaDecimal_(format.decimal != 0),
        sep_(commaDecimal_ ? ';' : format.SeparatorChar()) {}

  std::string Run() {
    // The largest file is a few hundred kilobytes; one allocation covers most.
    out_.reserve(64 * 1024);
    Line(std::string(kNameTag) + kVersionTag);
    Line("");
    Line(section::kCounts);
    CountsLine();
    Line("");
    Line(section::kLogging);
    Line("");
    for (int s = 0; s < kSetCount; ++s) {
      if (tables_.sampleCount[static_cast<size_t>(s)] != 0) LoggingBlock(s);
    }
    Line(section::kManual);
    Line("");
    for (int g = 0; g < kGroupCount; ++g) {
      if (tables_.recordCount[static_cast<size_t>(g)] != 0) ManualBlock(g);
    }
    Line(section::kTime);
    Line("");
    Line(section::kIdn);
    Line(IdentificationLine(tables_.info.idn, sep_));
    Line("");
    Line(section::kSerial);
    TextLine(tables_.info.serialNumber);
    Line("");
    Line(section::kPi);
    Line(WithSeparator(kPiTitle, sep_));
    size_t start = out_.size();
    Cell(tables_.info.piT1);
    out_ += sep_;
    Cell(tables_.info.piT2);
    FitLine(start);
    EndLine();
    Line("");
    Line(section::kStep);
    start = out_.size();
    Cell(tables_.info.stepInterval);
    out_ += sep_;
    out_ += tables_.info.stepIntervalUnit;
    FitLine(start);
    EndLine();
    return std::move(out_);
  }

 private:
  void Line(std::string_view text) {
    out_.append(text);
    EndLine();
  }
  void EndLine() { out_.append("\r\n"); }

  // Header values, sample and record lines carry the decimal symbol; the
  // fields are joined first, then every "." of the line is turned.
  void ValueLine(size_t start) {
    FitLine(start);
    if (commaDecimal_) std::replace(out_.begin() + static_cast<std::ptrdiff_t>(start), out_.end(), '.', ',');
    out_.append("\r\n");
  }

  // A reader takes at most kMaxLineLength characters of a line and reads the
  // rest as the next line, which would shift every later line of the file.
  // Only a malformed instrument reply makes a value that long: the longest
  // fields of the line from `start` are cut, at their ends, until it fits.
  void FitLine(size_t start) {
    if (out_.size() - start <= kMaxLineLength) return;
    std::vector<std::string> fields;
    for (size_t from = start;;) {
      const size_t end = out_.find(sep_, from);
      fields.push_back(out_.substr(from, end == std::string::npos ? std::string::npos : end - from));
      if (end == std::string::npos) break;
      from = end + 1;
    }
    out_.resize(start);
    const size_t room = kMaxLineLength - (fields.size() - 1);
    out_ += FieldsCutToFit(fields, room, sep_);
  }

  // The fields joined by `sep`, each cut to the longest length that keeps
  // their sum within `room`.
  static std::string FieldsCutToFit(const std::vector<std::string>& fields, size_t room, char sep) {
    auto total = [&](size_t cut) {
      size_t sum = 0;
      for (const std::string& field : fields) sum += std::min(field.size(), cut);
      return sum;
    };
    size_t low = 0, high = room;
    while (low < high) {
      const size_t middle = (low + high + 1) / 2;
      if (total(middle) <= room) low = middle;
      else high = middle - 1;
    }
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) line += sep;
      line.append(fields[i], 0, std::min(fields[i].size(), low));
    }
    return line;
  }

  // A value never carries a list separator or a line break of its own: a
  // reader would split the line or the file there and shift every later
  // field. Only a malformed instrument reply can leave one in a value; it is
  // written as a blank.
  static bool Splits(char c) { return c == ',' || c == ';' || c == '\r' || c == '\n'; }
  static bool BreaksLine(char c) { return c == '\r' || c == '\n'; }

  void Cell(const std::string& text) { AppendBlanking(text, Splits); }

  // The serial number is read as its whole line: only a line break moves it.
  void TextLine(const std::string& text) {
    const size_t start = out_.size();
    AppendBlanking(text, BreaksLine);
    if (out_.size() - start > kMaxLineLength) out_.resize(start + kMaxLineLength);
    EndLine();
  }

  void AppendBlanking(const std::string& text, bool (*blanked)(char)) {
    if (std::none_of(text.begin(), text.end(), blanked)) {
      out_ += text;
      return;
    }
    for (char c : text) out_ += blanked(c) ? ' ' : c;
  }

  void CountsLine() {
    const CountList counts = tables_.Counts();
    std::string line;
    for (size_t i = 0; i < counts.size(); ++i) {
      if (i > 0) line += sep_;
      line += std::to_string(counts[i]);
    }
    Line(line);
  }

  void LoggingBlock(int s) {
    Line(WithSeparator(kLoggingHeaderTitle, sep_));
    size_t start = out_.size();
    for (int f = 0; f < kHeaderFieldCount; ++f) {
      if (f > 0) out_ += sep_;
      Cell(raw_.headers[s][static_cast<size_t>(f)]);
    }
    ValueLine(start);
    Line(WithSeparator(kSampleTitle, sep_));
    const int count = std::min(tables_.sampleCount[static_cast<size_t>(s)], kMaxSamples);
    for (int i = 0; i < count; ++i) {
      const LoggingSample& raw = raw_.samples[s][i];
      const LoggingSample& converted = converted_.samples[s][i];
      start = out_.size();
      out_ += std::to_string(i + 1);
      out_ += sep_;
      Cell(converted[sample::kDate]);
      out_ += sep_;
      Cell(converted[sample::kTime]);
      out_ += sep_;
      Cell(raw[sample::kOutputVoltage]);
      out_ += sep_;
      Cell(raw[sample::kResistance]);
      ValueLine(start);
    }
    Line("");
  }

  void ManualBlock(int g) {
    Line(WithSeparator(kManualTitle, sep_));
    for (int r = 0; r < kRecordsPerGroup; ++r) {
      const ManualRecord& raw = raw_.manual[g][r];
      const ManualRecord& converted = converted_.manual[g][r];
      const size_t start = out_.size();
      for (int f = 0; f < kManualFieldCount; ++f) {
        if (f > 0) out_ += sep_;
        // The ratios are kept as shown; the raw copy holds them rounded to integers.
        const bool shownRatio = f == field::kDar15s || f == field::kDar30s || f == field::kPi;
        Cell((shownRatio ? converted : raw)[static_cast<size_t>(f)]);
      }
      ValueLine(start);
    }
    Line("");
  }


  const RecordTables& tables_;
  const TableCopy& raw_;
  const TableCopy& converted_;
  const bool commaDecimal_;
  const char sep_;
  std::string out_;
};

}  // namespace

std::string FormatDataFile(const RecordTables& tables, const NumberFormat& format) {
  return Writer(tables, format).Run();
}

Result WriteDataFile(const std::string& path, const RecordTables& tables, const NumberFormat& format) {
  Result written = WriteFileAtomically(path, FormatDataFile(tables, format));
  if (!written) return Result::Failure(save_message::Failed(path, written.message));
  return written;
}

}  // namespace qv70
