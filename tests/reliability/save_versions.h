#pragma once

// What the save tests write: the largest tables the program holds, in two
// versions that differ throughout the file, and the folder's listing.

#include <dirent.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "bench/largest_tables.h"
#include "core/data/program_state.h"
#include "core/files/data_file.h"

namespace qv70::test {

// Version 0 and version 1 of the largest data file; every sample line differs.
inline std::unique_ptr<ProgramState> LargestState(int version) {
  auto state = std::make_unique<ProgramState>();
  bench::FillLargestTables(state->tables);
  for (int s = 0; s < kSetCount; ++s) {
    for (int i = 0; i < kMaxSamples; ++i)
      state->tables.Copy(RecordCopy::Raw).samples[s][i][sample::kOutputVoltage] =
          std::to_string(1000 * (version + 1) + i % 7);
  }
  return state;
}

inline std::string DataFileBytes(const ProgramState& state) {
  return FormatDataFile(state.tables, NumberFormat{});
}

// Every name in `folder` but "." and "..", sorted.
inline std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace qv70::test
