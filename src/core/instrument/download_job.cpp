#include "core/instrument/download_job.h"

#include <utility>
#include <vector>

#include "core/data/values.h"
#include "core/files/data_file.h"
#include "core/instrument/messages.h"
#include "core/instrument/protocol.h"
#include "core/instrument/usb_link.h"
#include "core/platform/ui_services.h"

namespace qv70 {

using namespace instrument_message;

DownloadJob::DownloadJob(UsbLink& link, RecordTables& tables, UiServices& ui, Callbacks callbacks)
    : link_(link), tables_(tables), ui_(ui), callbacks_(std::move(callbacks)) {
  for (int i = 0; i < kBoxCount; ++i) captions_[i] = BaseCaption(i);
}

std::string DownloadJob::BaseCaption(int index) {
  if (index < 0 || index >= kBoxCount) return {};
  if (index < kGroupCount) return std::string("Group ") + GroupLetter(index);
  return "Data " + SetScreenName(index - kGroupCount);
}

int DownloadJob::SelectedSum() const {
  int sum = 0;
  for (int i = 0; i < kBoxCount; ++i) {
    if (ticked_[i]) sum += buffer_.counts[i];
  }
  return sum;
}

DownloadJob::Outcome DownloadJob::SelectData() {
  if (!link_.CheckInstrument()) return Outcome::Close;
  if (link_.OpenPipes()) {
    std::string reply;
    if (!Exchange(CountCommand(), reply)) {
      // Silence is no answer: reading it as twenty zeros would tell the operator
      // the instrument is empty.
      ui_.ShowMessage(kEquipmentUnusual, kObtainDataCaption, MessageButtons::Ok, MessageIcon::Warning);
      link_.ClosePipes();
      return Outcome::Stay;
    }
    // Bounded at once: a sample count beyond the tables must never steer a parse.
    buffer_.counts = LimitCounts(ParseCounts(reply));
    counted_ = true;

    int total = 0;
    for (int i = 0; i < kBoxCount; ++i) {
      int count = buffer_.counts[i];
      total += count;
      if (count > 0) {
        enabled_[i] = true;
        actionsEnabled_ = true;
      }
      if (captions_[i].find("...") == std::string::npos) {
        captions_[i] += FormatText(" ... %d", count);
      }
    }
    SetStatus(kDataTotalText + FormatText("%d", total));
  }
  link_.ClosePipes();
  return Outcome::Stay;
}

void DownloadJob::SetBoxTicked(int index, bool ticked) {
  if (index < 0 || index >= kBoxCount) return;
  if (ticked && !enabled_[index]) return;
  ticked_[index] = ticked;
  SetStatus(kSelectNumberText + FormatText("%d", SelectedSum()));
}

void DownloadJob::SelectAll() {
  int total = 0;
  for (int i = 0; i < kBoxCount; ++i) {
    int count = buffer_.counts[i];
    total += count;
    if (count <= 0) continue;
    ticked_[i] = true;
    if (captions_[i].find("...") == std::string::npos) {
      captions_[i] += FormatText(" ... %d", count);
    }
  }
  SetStatus(kSelectNumberText + FormatText("%d", total));
}

void DownloadJob::Reselect() {
  ticked_.fill(false);
  SetStatus(std::string(kSelectNumberText) + "0");
}

DownloadJob::Selection DownloadJob::TickedSelection() const {
  Selection selection;
  for (int g = 0; g < kGroupCount; ++g) selection.groups[g] = ticked_[g];
  for (int s = 0; s < kSetCount; ++s) selection.sets[s] = ticked_[kGroupCount + s];
  return selection;
}

DownloadJob::Selection DownloadJob::CountedSelection() const {
  Selection selection;
  for (int g = 0; g < kGroupCount; ++g) selection.groups[g] = buffer_.counts[g] > 0;
  for (int s = 0; s < kSetCount; ++s) selection.sets[s] = buffer_.counts[kGroupCount + s] > 0;
  return selection;
}

DownloadJob::Outcome DownloadJob::ObtainData() {
  const Result result = Download(TickedSelection());
  Report(result);
  return result.outcome;
}

void DownloadJob::Report(const Result& result) {
  ui_.Tell(result.message);
  if (result.brokeOff) SetProgress(0);
}

DownloadJob::Result DownloadJob::Download(const Selection& selection) {
  SetProgress(0);
  int chosen = 0;
  for (bool group : selection.groups) chosen += group ? 1 : 0;
  for (bool set : selection.sets) chosen += set ? 1 : 0;
  if (chosen == 0) {
    return {Outcome::Stay, {kNothingSelected, kWarningCaption, MessageIcon::Information}};
  }
  if (!link_.CheckInstrument() || !link_.OpenPipes()) return {Outcome::Close, {}};

  for (int g = 0; g < kGroupCount; ++g) {
    if (!selection.groups[g]) buffer_.counts[g] = 0;
  }
  for (int s = 0; s < kSetCount; ++s) {
    if (!selection.sets[s]) buffer_.counts[kGroupCount + s] = 0;
  }
  SetProgressVisible(true);
  const int step = 100 / chosen;
  buffer_.Clear();

  bool ok = true;
  std::string reply;
  for (int g = 0; g < kGroupCount; ++g) {
    if (!selection.groups[g] || !ok) {
      buffer_.counts[g] = 0;
      continue;
    }
    for (int r = 0; r < kRecordsPerGroup; ++r) {
      if (!Exchange(MemoryRecordCommand(g, r), reply)) {
        ok = false;
        break;
      }
      buffer_.ParseMemoryReply(std::move(reply), g, r);
    }
    SetProgress(progress_ + step);
  }
  for (int s = 0; s < kSetCount; ++s) {
    const int box = kGroupCount + s;
    if (!selection.sets[s] || !ok) {
      buffer_.counts[box] = 0;
      continue;
    }
    if (!Exchange(LoggingCommand(s), reply)) {
      ok = false;
      buffer_.counts[box] = 0;
      continue;
    }
    buffer_.ParseLoggingReply(std::move(reply), s);
    // Anything but the set's own label ("NG", garbage) is no logging set: the
    // data file would be refused on opening, its samples read from nothing.
    if (!IsSetLabel(buffer_.Table().headers[s][header::kNo], s)) {
      ok = false;
      buffer_.counts[box] = 0;
      continue;
    }
    SetProgress(progress_ + step);
  }
  if (!ok) return BrokenOff();

  // The instrument texts reach the tables only with the records and sets.
  InstrumentInfo info = tables_.info;
  Exchange(IdentificationCommand(), reply);
  info.idn = ParseTextReply(reply);
  // Unchecked before, an empty or "NG" identification made the saved file
  // one that no open accepts.
  if (!IdentificationReadsBack(info.idn)) return BrokenOff();
  // No reply at all is a silent or hung instrument, never an answer: the
  // texts it would leave empty must not reach a file as if they were read.
  if (!Exchange(SerialCommand(), reply)) return BrokenOff();
  info.serialNumber = ParseTextReply(reply);
  if (!Exchange(PiQueryCommand(), reply)) return BrokenOff();
  PiTimes pi = ParsePiReply(reply);
  info.piT1 = pi.t1;
  info.piT2 = pi.t2;
  if (!Exchange(StepQueryCommand(), reply)) return BrokenOff();
  info.stepInterval = ParseStepReply(reply);
  info.stepIntervalUnit = StepIntervalUnit(info.stepInterval);

  buffer_.FinishDownload(tables_, selection.sets);
  tables_.info = info;

  SetProgress(100);
  tables_.dataState = DataState::Unsaved;
  return {Outcome::Downloaded,
          {kAllReceived, kDataReceiveCaption, MessageIcon::None}};
}

DownloadJob::Result DownloadJob::BrokenOff() {
  Result failed{Outcome::Close, {kEquipmentUnusual, kObtainDataCaption, MessageIcon::Warning}};
  failed.brokeOff = true;
  return failed;
}

void DownloadJob::Finish() {
  link_.ClosePipes();
  SetStatus(std::string());
}

bool DownloadJob::Exchange(const std::string& command, std::string& reply) {
  if (callbacks_.beforeExchange) callbacks_.beforeExchange();
  // One buffer for the whole job: the link clears it before every exchange.
  if (replyBuffer_.size() != kReplyBufferSize) replyBuffer_.assign(kReplyBufferSize, '\0');
  link_.Transact(command.c_str(), static_cast<int>(command.size()), replyBuffer_.data());
  reply.assign(replyBuffer_.data());
  return !reply.empty();
}

void DownloadJob::SetStatus(std::string text) {
  status_ = std::move(text);
  if (callbacks_.status) callbacks_.status(status_);
}

void DownloadJob::SetProgress(int position) {
  progress_ = position;
  if (callbacks_.progress) callbacks_.progress(progress_);
}

void DownloadJob::SetProgressVisible(bool visible) {
  progressVisible_ = visible;
  if (callbacks_.progressVisible) callbacks_.progressVisible(visible);
}

}  // namespace qv70
