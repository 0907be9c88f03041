#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/data/record_tables.h"
#include "core/report/report_settings.h"

namespace qv70::test {

inline constexpr const char* kNormal = "Normal Test";
inline constexpr const char* kTc = "TC Test";
inline constexpr const char* kStep = "Step Voltage Test";

// The data a report is made of: per memory group the test types of its
// records (its count is their number), and the logging sets with samples.
struct ReportData {
  struct Group {
    int group;
    std::vector<std::string> types;
  };
  std::vector<Group> groups;
  std::vector<int> sets;
};

inline std::unique_ptr<RecordTables> MakeTables(const ReportData& data) {
  auto tables = std::make_unique<RecordTables>();
  for (const ReportData::Group& group : data.groups) {
    tables->recordCount[group.group] = static_cast<int>(group.types.size());
    for (size_t r = 0; r < group.types.size(); ++r)
      tables->Manual(RecordCopy::Converted, group.group, static_cast<int>(r), field::kTestType) =
          group.types[r];
  }
  for (int set : data.sets) tables->sampleCount[set] = 12;
  return tables;
}

// Item flags with the given items ticked.
inline std::string Ticked(std::initializer_list<int> items) {
  std::string flags(kItemFlagCount, '0');
  for (int item : items) flags[static_cast<size_t>(item)] = '1';
  return flags;
}

// Groups and sets as a DataSelection: 0..9 groups, 10..19 sets.
inline DataSelection Selected(std::initializer_list<int> indices) {
  DataSelection selection{};
  for (int index : indices) selection[static_cast<size_t>(index)] = true;
  return selection;
}

}  // namespace qv70::test
