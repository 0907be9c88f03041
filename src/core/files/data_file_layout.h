#pragma once

// Pieces of the data file layout shared by the writer, the readers and their
// tests: the fixed texts, the line reader and the field splitter.

#include <string>
#include <string_view>

namespace qv70 {

constexpr const char* kNameTag = "ZAVEL.QV70EN";
constexpr const char* kVersionTag = " V2.01 ";
constexpr const char* kIdentificationMark = "ZAVEL QV70 Ver";

namespace section {
constexpr const char* kCounts = "0 datanum";
constexpr const char* kLogging = "1 logging";
constexpr const char* kManual = "2 manual";
constexpr const char* kTime = "3 Time";
constexpr const char* kIdn = "4 IDN";
constexpr const char* kSerial = "5 Serial Number";
constexpr const char* kPi = "6 PI";
constexpr const char* kStep = "7 one step interval";
}  // namespace section

// Title lines, written with "," between the titles; the file's separator
// replaces each "," (WithSeparator).
constexpr const char* kLoggingHeaderTitle =
    "No.,Test Type,Date,Time,Test Interval[sec],Temperature[C],Humidity[%RH],Set Voltage[V]";
constexpr const char* kSampleTitle = "Data No.,Date,Time,Output Voltage[V],Resistance[Ohm]";
// The eighteenth title " t2[min]" has a leading blank; files have always had it.
constexpr const char* kManualTitle =
    "Data No.,Test Type,Date,Time,Elapsed Time[sec],Temperature[C],Humidity[%RH],"
    "Set Voltage[V],Output Voltage[V],Resistance[Ohm],15sec Resistance[Ohm],"
    "30sec Resistance[Ohm],1min Resistance[Ohm],DAR 15s value[1min/15s],"
    "DAR 30s value[1min/30s],t1[min],t1 Resistance[Ohm], t2[min],t2 Resistance[Ohm],"
    "PI Value[t2/t1],Ref.Temperature[C],TC Resistance[Ohm],Table No.,Step Interval[sec],"
    "Step1 Voltage[V],Step1 Resistance[Ohm],Step2 Voltage[V],Step2 Resistance[Ohm],"
    "Step3 Voltage[V],Step3 Resistance[Ohm],Step4 Voltage[V],Step4 Resistance[Ohm],"
    "Step5 Voltage[V],Step5 Resistance[Ohm]";
constexpr const char* kPiTitle = "t1[min],t2[min]";

// `text` with every "," replaced by `separator`.
std::string WithSeparator(std::string_view text, char separator);

// Reads a text line by line the way data files are read: each read gives at
// most kMaxLineLength characters (a longer line is cut and its rest comes as
// the next line), without its line end (LF, or CR LF); at the end every read
// gives an empty line. A NUL byte ends the line's text, as in a C string.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}

  std::string_view Next();
  size_t Position() const { return position_; }
  void Seek(size_t position) { position_ = position; }
  bool AtEnd() const { return position_ >= text_.size(); }

 private:
  std::string_view text_;
  size_t position_ = 0;
};

// The "4 IDN" line for the identification `idn`: its commas and semicolons
// become `separator`, so the file's own separator splits it into the parts the
// reader joins again.
std::string IdentificationLine(std::string_view idn, char separator);
// Whether the reader takes a "4 IDN" line of a current-layout file with
// `separator`: its first three fields joined hold kIdentificationMark.
bool IdentificationLineAccepted(std::string_view line, char separator);

// Splits `line` at `separator` and appends field i's text to fields[i], for
// i = 0 .. count-1 (missing fields add nothing; text beyond the last wanted
// field is ignored). With
// `commaToPeriod`, every "," in a field that a separator ended becomes ".",
// which undoes the decimal comma of semicolon files. With `dropBlanks`, blanks
// and tabs are left out.
void SplitFields(std::string_view line, char separator, std::string* fields, int count,
                 bool commaToPeriod, bool dropBlanks = false);

}  // namespace qv70
