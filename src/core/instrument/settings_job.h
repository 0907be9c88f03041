#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <utility>

namespace qv70 {

class Clock;
class RecordTables;
class UiServices;
class UsbLink;

// The QV70 Setting dialog's work without the window: the three boxes (clock,
// PI test times, step interval) with the queries they run when ticked, the
// clock text the dialog shows every second, and "Apply".
//
// Ownership: the link, the tables, the UiServices and the clock are borrowed
// and outlive the job. The dialog mirrors the job's state into its controls:
// the t1 and t2 fields and the step list are edited through SetT1, SetT2 and
// SetStepEntry; the dialog filters keys (digits, Left, Right, Backspace,
// Delete, at most 2 characters) itself.
//
// Failure: every message goes through UiServices; each action returns whether
// the dialog stays or closes. The PI and step queries store what the instrument
// answered in RecordTables::info; nothing else in the tables is touched.
class SettingsJob {
 public:
  enum class Outcome {
    Stay,   // the dialog stays open
    Close,  // the dialog closes (after a failed instrument check or a finished Apply)
  };

  struct Callbacks {
    // Called before every exchange with the instrument (a window may repaint).
    std::function<void()> beforeExchange;
    // The clock timer must start (true) or stop (false); period 1000 ms.
    std::function<void(bool)> clockTimer;
  };

  SettingsJob(UsbLink& link, RecordTables& tables, UiServices& ui, const Clock& clock,
              Callbacks callbacks = {});

  // "Set Date time" clicked into `ticked`. Ticking checks for the instrument
  // (Close when there is none) and starts the timer; unticking stops it and
  // empties the clock text.
  Outcome SetClockTicked(bool ticked);
  // A timer tick: the clock text becomes the current local time.
  void Tick();
  // "Set PI Test Time [min]" clicked. Ticking checks, opens the pipes (on failure
  // the box stays ticked and the fields disabled), queries ":SET:PI?" into the
  // fields and the instrument information and enables the fields.
  Outcome SetPiTicked(bool ticked);
  // "Step Voltage Test Time" clicked; the same with ":SET:STEP?" and the list.
  Outcome SetStepTicked(bool ticked);
  // "Select All": the three boxes in turn, stopping when a check closes the dialog.
  Outcome SelectAll();
  // "Apply": checks, then sends clock, PI and step commands for the ticked boxes.
  // Close both after success ("All data have been sent") and when the link fails;
  // LastApplySucceeded tells them apart.
  Outcome Apply();
  bool LastApplySucceeded() const { return applied_; }

  // Ticks the boxes without running their queries (for callers without a
  // dialog, which give the values themselves).
  void Choose(bool clock, bool pi, bool step);

  void SetT1(std::string text) { t1_ = std::move(text); }
  void SetT2(std::string text) { t2_ = std::move(text); }
  // -1 (nothing selected) or 0..3: "30s", "1min", "2min", "5min".
  void SetStepEntry(int index);

  bool ClockTicked() const { return clockTicked_; }
  bool PiTicked() const { return piTicked_; }
  bool StepTicked() const { return stepTicked_; }
  bool PiFieldsEnabled() const { return piFieldsEnabled_; }
  bool StepListEnabled() const { return stepListEnabled_; }
  const std::string& T1() const { return t1_; }
  const std::string& T2() const { return t2_; }
  int StepEntry() const { return stepEntry_; }
  // The display field: empty until the first tick after ticking the clock box.
  const std::string& ClockText() const { return clockText_; }

  // "%Y-%m-%d %p %I:%M:%S" with an AM/PM marker, e.g. "2009-03-05 PM 02:07:09".
  static std::string FormatClockText(const std::tm& when);

 private:
  bool Exchange(const std::string& command, std::string& reply);
  // A set command and its acknowledgement; false (after the message) when not "OK".
  bool SendSetting(const std::string& command);

  UsbLink& link_;
  RecordTables& tables_;
  UiServices& ui_;
  const Clock& clock_;
  Callbacks callbacks_;
  bool clockTicked_ = false;
  bool piTicked_ = false;
  bool stepTicked_ = false;
  bool piFieldsEnabled_ = false;
  bool stepListEnabled_ = false;
  std::string t1_;
  std::string t2_;
  int stepEntry_ = -1;
  std::string clockText_;
  bool applied_ = false;
};

}  // namespace qv70
