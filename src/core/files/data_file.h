#pragma once

#include <string>
#include <string_view>

#include "core/platform/result.h"

namespace qv70 {

class RecordTables;
struct InstrumentInfo;
struct NumberFormat;

// Lines of a data file are read at most this many characters at a time; the
// rest of a longer line is read as the next line.
constexpr size_t kMaxLineLength = 999;

// No data file comes near this; anything larger is not one of ours and would
// only cost memory.
constexpr size_t kMaxDataFileSize = 64 * 1024 * 1024;

// ---- Writing (current layout only) ----

// The whole data file for the tables as they are: the raw copy, with the DAR and
// PI fields and the sample dates and times from the converted copy; separator and
// decimal symbol from `format`; every line ends with CR LF. Reads the tables only.
std::string FormatDataFile(const RecordTables& tables, const NumberFormat& format);

// Writes FormatDataFile to `path` with WriteFileAtomically. On failure the
// previous file is left untouched and the message is save_message::Failed
// (core/files/messages.h): "<path> .The File is opened or read only!Can not be
// saved!", with a second line when the cause is known (a full disk).
// `path` is used exactly as given (no ".csv" rule, no replace prompt) and the
// tables, including DataState, are not changed.
Result WriteDataFile(const std::string& path, const RecordTables& tables, const NumberFormat& format);

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
// open_message texts (core/files/messages.h).
Result ParseDataFile(std::string_view content, RecordTables& tables, InstrumentInfo& info);

// The open command's work on a chosen file: refuses a missing file, and one
// that is not a regular file, is larger than kMaxDataFileSize or cannot be
// read, without waiting on it (a FIFO or a device is never read). Parses it
// (ParseDataFile) and, only when the whole file passed, takes over the
// instrument texts, sets DataState::Saved and runs InstallLoadedData. On
// failure the working copies, counts, InstrumentInfo and DataState are as
// before (the loaded copy may hold part of the file).
Result ReadDataFile(const std::string& path, RecordTables& tables);

// Whether a logging set header's first field `number` is the label of set
// `set` ("L0".."L9", any case), as the reader requires of every set it reads.
bool IsSetLabel(std::string_view number, int set);

// Turns the loaded copy into the working copies: counts, raw, converted and
// display copies, with the record and sample conversions and the sample times.
// Uses tables.decimalChar for the display copy.
void InstallLoadedData(RecordTables& tables);

}  // namespace qv70
