#include "load_memory.h"

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <strings.h>

#include "core/data/record_tables.h"
#include "core/files/data_file.h"

namespace qv70::sim {
namespace {

bool IsResistanceField(int field) {
  switch (field) {
    case 9: case 10: case 11: case 12: case 16: case 18: case 21: case 25: case 27: case 29: case 31: case 33:
      return true;
    default:
      return false;
  }
}

// The record fields each type sends, in the instrument's order (after the label).
constexpr int kNormalFields[] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
constexpr int kTcFields[] = {2, 3, 4, 5, 6, 7, 8, 9, 20, 21, 22};
constexpr int kStepFields[] = {2, 3, 23, 5, 6, 7, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33};

template <size_t N>
MemorySlot SlotFrom(const ManualRecord& record, const char* code, const int (&fields)[N]) {
  MemorySlot slot{{record[0], code}};
  for (int field : fields)
    slot.values.push_back(IsResistanceField(field) ? ResistanceText(record[field]) : record[field]);
  return slot;
}

MemorySlot SlotFromRecord(const ManualRecord& record) {
  const std::string& type = record[1];
  if (strcasecmp(type.c_str(), "Normal Test") == 0) return SlotFrom(record, "MN", kNormalFields);
  if (strcasecmp(type.c_str(), "TC Test") == 0) return SlotFrom(record, "MT", kTcFields);
  if (strcasecmp(type.c_str(), "Step Voltage Test") == 0) return SlotFrom(record, "MS", kStepFields);
  if (record[0].empty()) return MemorySlot{};
  return MemorySlot{{record[0]}};
}

}  // namespace

InstrumentMemory MemoryFromLoadedTables(const RecordTables& tables, const InstrumentInfo& info) {
  InstrumentMemory memory;
  for (int g = 0; g < kGroups; ++g) {
    memory.recordCount[g] = std::clamp(tables.loadedRecordCount[g], 0, kSlots);
    if (memory.recordCount[g] == 0) continue;  // a file holds no slots of such a group
    for (int r = 0; r < kSlots; ++r) memory.slots[g][r] = SlotFromRecord(tables.Record(RecordCopy::Loaded, g, r));
  }
  for (int s = 0; s < kSets; ++s) {
    int count = std::clamp(tables.loadedSampleCount[s], 0, kMaxSetSamples);
    if (count == 0) continue;
    LoggingMemory& set = memory.sets[s];
    for (int f = 0; f < 8; ++f) set.header[f] = tables.Header(RecordCopy::Loaded, s, f);
    for (int i = 0; i < count; ++i)
      set.points.push_back({tables.Sample(RecordCopy::Loaded, s, i, sample::kOutputVoltage),
                            ResistanceText(tables.Sample(RecordCopy::Loaded, s, i, sample::kResistance))});
  }
  // A file keeps the identification with its commas turned into the list
  // separator; the instrument sends commas.
  memory.idn = info.idn;
  std::replace(memory.idn.begin(), memory.idn.end(), ';', ',');
  memory.serial = info.serialNumber;
  memory.piT1 = info.piT1;
  memory.piT2 = info.piT2;
  memory.stepCode = info.stepInterval;
  return memory;
}

bool LoadMemoryFromFile(const std::string& path, InstrumentMemory& memory, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read the data file " + path;
    return false;
  }
  std::ostringstream content;
  content << in.rdbuf();
  auto tables = std::make_unique<RecordTables>();
  InstrumentInfo info;
  Result outcome = ParseDataFile(content.str(), *tables, info);
  if (!outcome.ok) {
    error = path + ": " + outcome.message;
    return false;
  }
  memory = MemoryFromLoadedTables(*tables, info);
  return true;
}

}  // namespace qv70::sim
