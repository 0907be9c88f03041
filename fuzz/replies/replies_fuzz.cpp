// Any bytes as an instrument reply: the link's reply loop and every reply
// parser must neither crash nor write past their buffers, whatever the
// instrument sends and whatever count the count reply claimed; and what a
// download would keep of it, saved, must open again with the same counts.
//
// Input: the first byte sets the logging count (times two, so counts beyond
// the 360 samples a set holds are reached) and the chunk size of the reads;
// the rest is the reply.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/data/record_tables.h"
#include "core/data/program_state.h"
#include "core/files/data_file.h"
#include "core/instrument/download_buffer.h"
#include "core/instrument/fake_usb_driver.h"
#include "core/instrument/protocol.h"
#include "core/instrument/usb_link.h"
#include "core/platform/scripted_ui_services.h"

using namespace qv70;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static DownloadBuffer* buffer = new DownloadBuffer();
  const int count = data[0] * 2;
  std::string reply(reinterpret_cast<const char*>(data + 1), size - 1);

  // The reply loop: the buffer is exactly the reply size, so ASan sees any overrun.
  FakeUsbDriver driver;
  driver.chunkSize = 1 + data[0] % 64;
  driver.respond = [&reply](const std::string&) { return reply; };
  ScriptedUiServices ui;
  UsbLink link(driver, ui);
  if (link.OpenPipes() != 1) std::abort();
  std::vector<char> received(kReplyBufferSize);
  link.Transact(":MEM:DATA? L0\n", 14, received.data());
  const size_t length = std::strlen(received.data());
  if (length >= kReplyBufferSize) std::abort();
  // Whole (up to an embedded NUL) or, when too long, dropped.
  if (length != 0 && reply.compare(0, length, received.data(), length) != 0) std::abort();
  if (reply.size() >= kReplyBufferSize && length != 0) std::abort();
  link.ClosePipes();

  const CountList counts = LimitCounts(ParseCounts(reply));
  for (int i = 0; i < kCountListSize; ++i) {
    if (counts[i] < 0 || counts[i] > (i < kGroupCount ? kRecordsPerGroup : kMaxSamples)) std::abort();
  }

  buffer->counts = {};
  buffer->counts[kGroupCount + 3] = count;  // unbounded on purpose
  buffer->ParseMemoryReply(reply, 4, 7);
  buffer->ParseLoggingReply(reply, 3);

  // As the download job keeps them: a set only when headed by its label.
  static RecordTables* tables = new RecordTables();
  static RecordTables* reopened = new RecordTables();
  const bool setKept = IsSetLabel(buffer->Table().headers[3][header::kNo], 3);
  buffer->counts[4] = kRecordsPerGroup;
  buffer->counts[kGroupCount + 3] = setKept ? std::min(count, kMaxSamples) : 0;
  std::array<bool, kSetCount> sets{};
  sets[3] = setKept;
  buffer->FinishDownload(*tables, sets);
  tables->info.idn = "ZAVEL ,QV70 ,Ver1.00";
  tables->info.serialNumber = ParseTextReply(reply);
  const PiTimes times = ParsePiReply(reply);
  tables->info.piT1 = times.t1;
  tables->info.piT2 = times.t2;
  tables->info.stepInterval = ParseStepReply(reply);
  NumberFormat format;
  format.decimal = data[0] & 1;
  format.separator = (data[0] >> 1) & 1;
  InstrumentInfo info;
  if (!ParseDataFile(FormatDataFile(*tables, format), *reopened, info).ok) std::abort();
  if (reopened->LoadedCounts() != tables->Counts()) std::abort();

  PiTimes pi = ParsePiReply(reply);
  std::string step = ParseStepReply(reply);
  int entry = StepEntryForReply(step);
  if (entry < -1 || entry >= kStepEntryCount) std::abort();
  (void)StepIntervalUnit(step);
  (void)IsAcknowledged(reply);
  (void)PiSetCommand(pi.t1, pi.t2);
  return 0;
}
