// Any bytes as a data file: the readers of both layouts, the install and the
// writer must neither crash nor overrun, and a file written from what was read
// must read back with the same counts.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/data/program_state.h"
#include "core/data/record_tables.h"
#include "core/files/data_file.h"

using namespace qv70;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The tables are large and fixed; one set serves every input.
  static RecordTables* tables = new RecordTables();
  static RecordTables* again = new RecordTables();

  std::string_view text(reinterpret_cast<const char*>(data), size);
  InstrumentInfo info;
  if (!ParseDataFile(text, *tables, info).ok) return 0;
  tables->info = info;
  tables->decimalChar = (size & 1) ? "," : ".";
  InstallLoadedData(*tables);

  NumberFormat format;
  format.decimal = static_cast<int>(size % 2);
  format.separator = static_cast<int>((size / 2) % 2);
  const std::string written = FormatDataFile(*tables, format);
  InstrumentInfo infoAgain;
  if (ParseDataFile(written, *again, infoAgain).ok && again->LoadedCounts() != tables->Counts()) std::abort();
  return 0;
}
