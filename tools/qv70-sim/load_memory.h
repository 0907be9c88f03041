#pragma once

#include <string>

#include "instrument_memory.h"

namespace qv70 {
class RecordTables;
struct InstrumentInfo;
}  // namespace qv70

namespace qv70::sim {

// The instrument memory that a data file describes, so what the program saved
// can be served back: the loaded copy and counts of `tables` (as the file
// reader left them) and the instrument texts. Records go back into the
// instrument's compact value order with their type codes, resistances into
// exponent form; a slot whose test type is not one of the three keeps only its
// label. Counts are bounded to 10 records and 360 samples.
InstrumentMemory MemoryFromLoadedTables(const RecordTables& tables, const InstrumentInfo& info);

// Reads a data file (either layout) with the program's own reader. False with
// the reader's message (or why the file could not be read) in `error`.
bool LoadMemoryFromFile(const std::string& path, InstrumentMemory& memory, std::string& error);

}  // namespace qv70::sim
