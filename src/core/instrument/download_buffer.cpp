#include "core/instrument/download_buffer.h"

#include <algorithm>
#include <utility>

#include "core/data/values.h"
#include "core/instrument/protocol.h"

namespace qv70 {

DownloadBuffer::DownloadBuffer() : table_(std::make_unique<TableCopy>()) {}

void DownloadBuffer::Clear() { table_->Clear(); }

void DownloadBuffer::ParseMemoryReply(std::string reply, int group, int record) {
  if (group < 0 || group >= kGroupCount || record < 0 || record >= kRecordsPerGroup) return;
  ParseMemoryRecord(std::move(reply), table_->manual[group][record]);
}

void DownloadBuffer::ParseLoggingReply(std::string reply, int set) {
  if (set < 0 || set >= kSetCount) return;
  // The sample array holds 360 entries; a larger count must never index past it.
  int count = std::clamp(counts[kGroupCount + set], 0, kMaxSamples);
  ParseLoggingSet(std::move(reply), count, table_->headers[set], table_->samples[set]);
}

void DownloadBuffer::FinishDownload(RecordTables& tables, const std::array<bool, kSetCount>& setsChosen) {
  tables.Copy(RecordCopy::Raw) = *table_;
  table_ = tables.ReplaceCopy(RecordCopy::Converted, std::move(table_));
  tables.SetCounts(LimitCounts(counts));

  for (int g = 0; g < kGroupCount; ++g) {
    for (int r = 0; r < kRecordsPerGroup; ++r) {
      std::string& code = tables.Manual(RecordCopy::Converted, g, r, field::kTestType);
      if (code.empty()) continue;
      for (TestType type : kTestTypes) {
        if (code == TestTypeCode(type)) {
          code = TestTypeText(type);
          tables.Manual(RecordCopy::Raw, g, r, field::kTestType) = TestTypeText(type);
          break;
        }
      }
      ConvertManualRecord(tables, g, r);
    }
  }

  for (int s = 0; s < kSetCount; ++s) {
    if (!setsChosen[s]) continue;
    ConvertLoggingSet(tables, s);
    const std::string startDate = tables.Header(RecordCopy::Converted, s, header::kDate);
    const std::string startTime = tables.Header(RecordCopy::Converted, s, header::kTime);
    int interval = TextToInt(tables.Header(RecordCopy::Converted, s, header::kInterval));
    ComputeSampleTimes(tables, startDate, startTime, s, interval);
  }
}

}  // namespace qv70
