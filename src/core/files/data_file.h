#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace qv70 {

class RecordTables;
struct InstrumentInfo;
struct NumberFormat;

// The outcome of reading or writing a data file: `ok`, or the operator's message
// (the window layer shows it in a box captioned kOpenCaption or kSaveCaption).
struct FileOutcome {
  bool ok = false;
  std::string message;

  static FileOutcome Success() { return {true, {}}; }
  static FileOutcome Failure(std::string text) { return {false, std::move(text)}; }
};

constexpr const char* kOpenCaption = "File Open";
constexpr const char* kSaveCaption = "File save";

// Lines of a data file are read at most this many characters at a time; the
// rest of a longer line is read as the next line.
constexpr size_t kMaxLineLength = 999;

// ---- Writing (current layout only) ----

// The whole data file for the tables as they are: the raw copy, with the DAR and
// PI fields and the sample dates and times from the converted copy; separator and
// decimal symbol from `format`; every line ends with CR LF. Reads the tables only.
std::string FormatDataFile(const RecordTables& tables, const NumberFormat& format);

// Writes FormatDataFile to `path` atomically: a temporary file beside it, every
// write and the close checked, then renamed over `path`. On failure the previous
// file is left untouched and the message is
// "<path> .The File is opened or read only!Can not be saved!".
// `path` is used exactly as given (no ".csv" rule, no replace prompt) and the
// tables, including DataState, are not changed.
FileOutcome WriteDataFile(const std::string& path, const RecordTables& tables,
                          const NumberFormat& format);

// Whether a data file written for the instrument identification `idn` (with
// either separator) is read back: the reader insists on "ZAVEL QV70 Ver" in the
// first three fields of the "4 IDN" line, and on that line being no longer than
// kMaxLineLength. A download must not end in a file that cannot be opened again.
bool IdentificationReadsBack(const std::string& idn);

// ---- Reading (current and older layout) ----

// Checks and reads a data file's text into the loaded copy and loaded counts of
// `tables` (cleared first) and the instrument texts into `info` (the step
// interval unit derived from the interval). Nothing else in `tables` changes,
// so a failure leaves the working data as it was; the message is one of the
// texts below (or a refusal of counts beyond the table sizes).
FileOutcome ParseDataFile(std::string_view content, RecordTables& tables, InstrumentInfo& info);

// The open command's work on a chosen file: refuses a missing or unreadable
// file, parses it (ParseDataFile) and, only when the whole file passed, takes
// over the instrument texts, sets DataState::Saved and runs InstallLoadedData.
// On failure the working copies, counts, InstrumentInfo and DataState are as
// before (the loaded copy may hold part of the file).
FileOutcome ReadDataFile(const std::string& path, RecordTables& tables);

// Whether a logging set header's first field `number` is the label of set
// `set` ("L0".."L9", any case), as the reader requires of every set it reads.
bool IsSetLabel(std::string_view number, int set);

// Turns the loaded copy into the working copies: counts, raw, converted and
// display copies, with the record and sample conversions and the sample times.
// Uses tables.decimalChar for the display copy.
void InstallLoadedData(RecordTables& tables);

// Message texts of the reader (shown with caption kOpenCaption).
namespace open_message {
std::string FileNotFound(const std::string& path);
std::string FileNotReadable(const std::string& path);
constexpr const char* kNotEnglishVersion = "The file isn't the English version of ZAVELQV70";
constexpr const char* kLackDatanum = "Lack \"0 datanum\".";
constexpr const char* kLackLogging = "Lack \"1 logging\".";
constexpr const char* kLackHeader = "Lack header.";
constexpr const char* kInconsistentSet = "Inconsistent record number";
constexpr const char* kInconsistentSetOlder = "Inconsistent record number.";
constexpr const char* kLackManual = "Lack \"2 manual\".";
constexpr const char* kLackManualHeader = "Lack header";
constexpr const char* kInconsistentGroupOlder = "Inconsistent record number ";
constexpr const char* kLackTime = "Lack \"3 Time\".";
constexpr const char* kLackIdn = "Lack \"4 IDN\".";
constexpr const char* kLackVersion = "Lack \"ZAVEL QV70 Ver\".";
constexpr const char* kLackVersionOlder = "Lack d\"ZAVEL QV70 Ver\".";
constexpr const char* kLackSerial = "Lack \"5 Serial Number\".";
constexpr const char* kLackPi = "Lack \"6 PI\".";
constexpr const char* kLackPiTitle = "Lack \"t1[min],t2[min]\".";
constexpr const char* kLackStep = "Lack \"7 one step interval\".";
}  // namespace open_message

// The save failure message for `path`.
std::string SaveFailedMessage(const std::string& path);

}  // namespace qv70
