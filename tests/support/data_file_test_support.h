#pragma once

// Shared helpers of the data-file tests: example files, line-level edits of a
// file's text, and a snapshot of everything a failed open must leave alone.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/data/record_tables.h"
#include "support/temp_dir.h"

namespace qv70::test {

inline std::string ExamplePath(const std::string& name) {
  return std::string(QV70_SOURCE_DIR) + "/examples/" + name;
}

// The lines of a text, without their CR LF or LF.
inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

inline std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

// One edit of a file's lines: the first line equal to `find` becomes `replace`.
struct LineEdit {
  std::string find;
  std::string replace;
};

inline std::string EditLines(const std::string& text, const std::vector<LineEdit>& edits) {
  std::vector<std::string> lines = SplitLines(text);
  for (const LineEdit& edit : edits) {
    bool found = false;
    for (auto& line : lines) {
      if (line == edit.find) {
        line = edit.replace;
        found = true;
        break;
      }
    }
    EXPECT_TRUE(found) << "no line \"" << edit.find << "\"";
  }
  return JoinLines(lines);
}

// Everything but the loaded copy: what a refused open must not change.
struct WorkingSnapshot {
  explicit WorkingSnapshot(const RecordTables& tables)
      : raw(std::make_unique<TableCopy>(tables.Copy(RecordCopy::Raw))),
        converted(std::make_unique<TableCopy>(tables.Copy(RecordCopy::Converted))),
        display(std::make_unique<TableCopy>(tables.Copy(RecordCopy::Display))),
        counts(tables.Counts()),
        info(tables.info),
        dataState(tables.dataState) {}

  std::unique_ptr<TableCopy> raw, converted, display;
  CountList counts;
  InstrumentInfo info;
  DataState dataState;
};

inline bool SameCopy(const TableCopy& a, const TableCopy& b) { return a == b; }

inline void ExpectUnchanged(const WorkingSnapshot& before, const RecordTables& tables) {
  EXPECT_TRUE(SameCopy(*before.raw, tables.Copy(RecordCopy::Raw)));
  EXPECT_TRUE(SameCopy(*before.converted, tables.Copy(RecordCopy::Converted)));
  EXPECT_TRUE(SameCopy(*before.display, tables.Copy(RecordCopy::Display)));
  EXPECT_EQ(before.counts, tables.Counts());
  EXPECT_TRUE(before.info == tables.info);
  EXPECT_EQ(before.dataState, tables.dataState);
}

}  // namespace qv70::test
