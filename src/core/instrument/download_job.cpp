#include "core/instrument/download_job.h"

#include <utility>
#include <vector>

#include "core/data/values.h"
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

DownloadJob::Outcome DownloadJob::ObtainData() {
  SetProgress(0);
  int tickedBoxes = 0;
  for (bool ticked : ticked_) tickedBoxes += ticked ? 1 : 0;
  if (tickedBoxes == 0) {
    ui_.ShowMessage(kNothingSelected, kWarningCaption, MessageButtons::Ok, MessageIcon::Information);
    return Outcome::Stay;
  }
  if (!link_.CheckInstrument() || !link_.OpenPipes()) return Outcome::Close;

  for (int i = 0; i < kBoxCount; ++i) {
    if (!ticked_[i]) buffer_.counts[i] = 0;
  }
  SetProgressVisible(true);
  const int step = 100 / tickedBoxes;
  buffer_.Clear();

  bool ok = true;
  std::string reply;
  for (int g = 0; g < kGroupCount; ++g) {
    if (!ticked_[g] || !ok) {
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
    if (!ticked_[box] || !ok) {
      buffer_.counts[box] = 0;
      continue;
    }
    if (!Exchange(LoggingCommand(s), reply)) {
      ok = false;
      buffer_.counts[box] = 0;
      continue;
    }
    buffer_.ParseLoggingReply(std::move(reply), s);
    SetProgress(progress_ + step);
  }

  if (!ok) {
    ui_.ShowMessage(kEquipmentUnusual, kObtainDataCaption, MessageButtons::Ok, MessageIcon::Warning);
    SetProgress(0);
    return Outcome::Close;
  }

  // The instrument texts go straight into the tables: they only follow a
  // download in which every record and set arrived.
  InstrumentInfo& info = tables_.info;
  Exchange(IdentificationCommand(), reply);
  info.idn = ParseTextReply(reply);
  Exchange(SerialCommand(), reply);
  info.serialNumber = ParseTextReply(reply);
  Exchange(PiQueryCommand(), reply);
  PiTimes pi = ParsePiReply(reply);
  info.piT1 = pi.t1;
  info.piT2 = pi.t2;
  Exchange(StepQueryCommand(), reply);
  info.stepInterval = ParseStepReply(reply);
  info.stepIntervalUnit = StepIntervalUnit(info.stepInterval);

  std::array<bool, kSetCount> setsChosen{};
  for (int s = 0; s < kSetCount; ++s) setsChosen[s] = ticked_[kGroupCount + s];
  buffer_.FinishDownload(tables_, setsChosen);

  SetProgress(100);
  ui_.ShowMessage(kAllReceived, kDataReceiveCaption, MessageButtons::Ok, MessageIcon::None);
  tables_.dataState = DataState::Unsaved;
  return Outcome::Downloaded;
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
