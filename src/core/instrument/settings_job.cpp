#include "core/instrument/settings_job.h"

#include <utility>
#include <vector>

#include "core/data/record_tables.h"
#include "core/data/values.h"
#include "core/instrument/messages.h"
#include "core/instrument/protocol.h"
#include "core/instrument/usb_link.h"
#include "core/platform/environment.h"
#include "core/platform/ui_services.h"

namespace qv70 {

using namespace instrument_message;

namespace {
std::tm LocalTime(std::time_t now) {
  std::tm when{};
  localtime_r(&now, &when);
  return when;
}

// What the t1/t2 fields can hold: one or two digits. Anything else (possible
// only from callers without the dialog's key filter) must not reach a command.
bool IsPiText(const std::string& text) {
  if (text.empty() || text.size() > 2) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}
}  // namespace

SettingsJob::SettingsJob(UsbLink& link, RecordTables& tables, UiServices& ui, const Clock& clock,
                         Callbacks callbacks)
    : link_(link), tables_(tables), ui_(ui), clock_(clock), callbacks_(std::move(callbacks)) {}

std::string SettingsJob::FormatClockText(const std::tm& when) {
  int hour12 = when.tm_hour % 12 == 0 ? 12 : when.tm_hour % 12;
  return FormatText("%04d-%02d-%02d %s %02d:%02d:%02d", when.tm_year + 1900, when.tm_mon + 1,
                    when.tm_mday, when.tm_hour < 12 ? "AM" : "PM", hour12, when.tm_min, when.tm_sec);
}

SettingsJob::Outcome SettingsJob::SetClockTicked(bool ticked) {
  clockTicked_ = ticked;
  if (!ticked) {
    if (callbacks_.clockTimer) callbacks_.clockTimer(false);
    clockText_.clear();
    return Outcome::Stay;
  }
  if (!link_.CheckInstrument()) return Outcome::Close;
  if (callbacks_.clockTimer) callbacks_.clockTimer(true);
  return Outcome::Stay;
}

void SettingsJob::Tick() {
  if (clockTicked_) clockText_ = FormatClockText(LocalTime(clock_.Now()));
}

SettingsJob::Outcome SettingsJob::SetPiTicked(bool ticked) {
  piTicked_ = ticked;
  if (!ticked) {
    t1_.clear();
    t2_.clear();
    piFieldsEnabled_ = false;
    return Outcome::Stay;
  }
  if (!link_.CheckInstrument()) return Outcome::Close;
  if (!link_.OpenPipes()) return Outcome::Stay;
  std::string reply;
  Exchange(PiQueryCommand(), reply);
  PiTimes pi = ParsePiReply(reply);
  tables_.info.piT1 = pi.t1;
  tables_.info.piT2 = pi.t2;
  t1_ = pi.t1;
  t2_ = pi.t2;
  piFieldsEnabled_ = true;
  link_.ClosePipes();
  return Outcome::Stay;
}

SettingsJob::Outcome SettingsJob::SetStepTicked(bool ticked) {
  stepTicked_ = ticked;
  if (!ticked) {
    stepEntry_ = -1;
    stepListEnabled_ = false;
    return Outcome::Stay;
  }
  if (!link_.CheckInstrument()) return Outcome::Close;
  if (!link_.OpenPipes()) return Outcome::Stay;
  std::string reply;
  Exchange(StepQueryCommand(), reply);
  tables_.info.stepInterval = ParseStepReply(reply);
  int entry = StepEntryForReply(tables_.info.stepInterval);
  if (entry >= 0) stepEntry_ = entry;
  stepListEnabled_ = true;
  link_.ClosePipes();
  return Outcome::Stay;
}

SettingsJob::Outcome SettingsJob::SelectAll() {
  if (SetClockTicked(true) == Outcome::Close) return Outcome::Close;
  if (SetPiTicked(true) == Outcome::Close) return Outcome::Close;
  return SetStepTicked(true);
}

void SettingsJob::SetStepEntry(int index) {
  stepEntry_ = index >= 0 && index < kStepEntryCount ? index : -1;
}

SettingsJob::Choices SettingsJob::Chosen() const {
  Choices choices;
  choices.clock = clockTicked_;
  choices.pi = piTicked_;
  choices.t1 = t1_;
  choices.t2 = t2_;
  choices.step = stepTicked_;
  choices.stepEntry = stepEntry_;
  return choices;
}

SettingsJob::Outcome SettingsJob::Apply() {
  const Result result = Apply(Chosen());
  applied_ = result.sent;
  ui_.Tell(result.message);
  return result.outcome;
}

SettingsJob::Result SettingsJob::Apply(const Choices& choices) {
  // Every refusal and failure below keeps the dialog open with a message.
  const auto stay = [](const char* text) {
    return Result{Outcome::Stay, {text, kSettingCaption, MessageIcon::Information}};
  };
  if (!choices.clock && !choices.pi && !choices.step) return stay(kNeedSelect);
  if (choices.pi) {
    if (!IsPiText(choices.t1) || !IsPiText(choices.t2)) return stay(kPiRange);
    const int t1 = TextToInt(choices.t1);
    const int t2 = TextToInt(choices.t2);
    if (t1 < 1 || t1 > 30 || t2 < 1 || t2 > 30) return stay(kPiRange);
    if (t1 >= t2) return stay(kPiOrder);
  }
  if (!link_.CheckInstrument() || !link_.OpenPipes()) return {Outcome::Close, {}};

  std::vector<std::string> commands;
  if (choices.clock) commands.push_back(ClockCommand(LocalTime(clock_.Now())));
  if (choices.pi) commands.push_back(PiSetCommand(choices.t1, choices.t2));
  // With no entry shown there is no interval to send; the other items still go.
  if (choices.step && StepEntryText(choices.stepEntry) != nullptr) {
    commands.push_back(StepSetCommand(StepEntryText(choices.stepEntry)));
  }
  for (const std::string& command : commands) {
    if (!SendSetting(command)) {
      link_.ClosePipes();
      return stay(kEquipmentUnusual);
    }
  }
  link_.ClosePipes();
  return {Outcome::Close, {kAllSent, kSendingSuccessCaption, MessageIcon::Information}, true};
}

bool SettingsJob::SendSetting(const std::string& command) {
  std::string reply;
  Exchange(command, reply);
  return IsAcknowledged(reply);
}

bool SettingsJob::Exchange(const std::string& command, std::string& reply) {
  if (callbacks_.beforeExchange) callbacks_.beforeExchange();
  std::vector<char> buffer(kReplyBufferSize);
  link_.Transact(command.c_str(), static_cast<int>(command.size()), buffer.data());
  reply.assign(buffer.data());
  return !reply.empty();
}

}  // namespace qv70
