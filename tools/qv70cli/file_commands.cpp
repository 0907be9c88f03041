// dump and save: data files opened as the Open command does, shown or written again.

#include <algorithm>
#include <cstdio>
#include <string>

#include "commands.h"
#include "core/data/program_state.h"
#include "core/files/data_file.h"

namespace qv70::cli {

int Refuse(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  return kExitRefused;
}

int ExitStatus(const Result& result) { return result ? kExitOk : Refuse(result.message); }

bool TakeOption(Arguments& args, const std::string& name, const std::vector<std::string>& allowed,
                std::string& value) {
  auto it = std::find(args.begin(), args.end(), name);
  if (it == args.end()) return true;
  if (it + 1 == args.end()) return false;
  if (std::find(allowed.begin(), allowed.end(), *(it + 1)) == allowed.end()) return false;
  value = *(it + 1);
  args.erase(it, it + 2);
  // Given twice is ambiguous.
  return std::find(args.begin(), args.end(), name) == args.end();
}

bool HasLeftoverOption(const Arguments& args) {
  return std::any_of(args.begin(), args.end(), [](const std::string& a) { return a.rfind("--", 0) == 0; });
}

namespace {

// One dump item: the key, then each field after a tab.
template <typename Fields>
void PrintItem(const std::string& key, const Fields& fields) {
  std::string line = key;
  for (const auto& field : fields) {
    line += '\t';
    line += field;
  }
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
}

void Dump(const RecordTables& tables, RecordCopy copy) {
  std::vector<std::string> counts;
  for (int count : tables.Counts()) counts.push_back(std::to_string(count));
  PrintItem("counts", counts);
  const InstrumentInfo& info = tables.info;
  PrintItem("idn", std::vector<std::string>{info.idn});
  PrintItem("serial", std::vector<std::string>{info.serialNumber});
  PrintItem("pi", std::vector<std::string>{info.piT1, info.piT2});
  PrintItem("step", std::vector<std::string>{info.stepInterval, info.stepIntervalUnit});

  const TableCopy& cells = tables.Copy(copy);
  for (int g = 0; g < kGroupCount; ++g) {
    if (tables.recordCount[static_cast<size_t>(g)] == 0) continue;
    for (int r = 0; r < kRecordsPerGroup; ++r) {
      std::string label{GroupLetter(g), static_cast<char>('0' + r)};
      PrintItem("record\t" + label, cells.manual[g][r]);
    }
  }
  for (int s = 0; s < kSetCount; ++s) {
    const int count = tables.sampleCount[static_cast<size_t>(s)];
    if (count == 0) continue;
    PrintItem("header\t" + SetDataName(s), cells.headers[s]);
    for (int i = 0; i < count && i < kMaxSamples; ++i)
      PrintItem("sample\t" + SetDataName(s) + '\t' + std::to_string(i + 1), cells.samples[s][i]);
  }
}

}  // namespace

int RunDump(Arguments args) {
  std::string copyName = "converted";
  std::string decimal = "period";
  if (!TakeOption(args, "--copy", {"raw", "converted", "display"}, copyName) ||
      !TakeOption(args, "--decimal", {"period", "comma"}, decimal) || args.size() != 1 ||
      HasLeftoverOption(args))
    return kExitUsage;

  ProgramState state;
  state.SetNumberFormat(decimal == "comma" ? 1 : 0, 0);
  // Opened exactly as the Open command does: the same reader, checks and install.
  if (Result opened = ReadDataFile(args[0], state.tables); !opened) return Refuse(opened.message);
  const RecordCopy copy = copyName == "raw"         ? RecordCopy::Raw
                          : copyName == "converted" ? RecordCopy::Converted
                                                    : RecordCopy::Display;
  Dump(state.tables, copy);
  return kExitOk;
}

int RunSave(Arguments args) {
  std::string separator;
  std::string decimal = "period";
  if (!TakeOption(args, "--separator", {"comma", "semicolon"}, separator) ||
      !TakeOption(args, "--decimal", {"period", "comma"}, decimal) || args.size() != 2 ||
      HasLeftoverOption(args))
    return kExitUsage;
  // A comma decimal always goes with the semicolon separator.
  if (decimal == "comma" && separator == "comma") {
    std::fprintf(stderr, "qv70cli: --decimal comma cannot go with --separator comma\n");
    return kExitUsage;
  }

  ProgramState state;
  state.SetNumberFormat(decimal == "comma" ? 1 : 0, separator == "semicolon" ? 1 : 0);
  if (Result opened = ReadDataFile(args[0], state.tables); !opened) return Refuse(opened.message);
  return ExitStatus(WriteDataFile(args[1], state.tables, state.numberFormat));
}

}  // namespace qv70::cli
