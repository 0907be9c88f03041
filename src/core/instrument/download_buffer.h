#pragma once

#include <array>
#include <memory>
#include <string>

#include "core/data/record_tables.h"

namespace qv70 {

// Where a download collects its replies before anything reaches RecordTables:
// one table copy's shapes, text only, and the 20 counts of the last count
// query. Owned by the download job; a download that fails half-way leaves the
// record tables untouched because only FinishDownload writes them.
class DownloadBuffer {
 public:
  DownloadBuffer();

  // Empties every text field (counts are kept).
  void Clear();

  // Parses one memory record reply into group `group`, record `record`.
  void ParseMemoryReply(std::string reply, int group, int record);
  // Parses one logging reply into set `set`, split by that set's count.
  void ParseLoggingReply(std::string reply, int set);

  // Copies the buffer into the raw copy and the counts of `tables` and hands
  // its table over as the converted copy (the buffer keeps the old one, text
  // to be cleared before the next download), names the record types, converts
  // every record and, for each set ticked in `setsChosen`, its samples and
  // times. Cannot fail.
  void FinishDownload(RecordTables& tables, const std::array<bool, kSetCount>& setsChosen);

  TableCopy& Table() { return *table_; }
  const TableCopy& Table() const { return *table_; }

  // Index 0..9 groups A..P (records), 10..19 sets 0..9 (samples).
  CountList counts{};

 private:
  std::unique_ptr<TableCopy> table_;
};

}  // namespace qv70
