#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <utility>

#include "core/platform/ui_services.h"

namespace qv70 {

class Clock;
class RecordTables;
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
// Failure: the link tells its own failures through UiServices; Apply(choices)
// returns what it has to tell with its outcome and shows nothing, the
// dialog-shaped calls show it. Each action returns whether the dialog stays or
// closes. The PI and step queries store what the instrument answered in
// RecordTables::info; nothing else in the tables is touched.
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

  // What one Apply sends, in this order: the clock (the local time at that
  // moment), the PI test times, the step interval.
  struct Choices {
    bool clock = false;
    bool pi = false;
    std::string t1, t2;  // the t1 and t2 texts, as typed
    bool step = false;
    int stepEntry = -1;  // 0..3 "30s", "1min", "2min", "5min"; -1: none, nothing sent for it
  };

  // How an Apply ended and what to tell the operator about it.
  struct Result {
    Outcome outcome = Outcome::Stay;
    OperatorMessage message;  // empty when the link has told already
    bool sent = false;        // every chosen setting was sent and acknowledged
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
  // "Apply": Apply(Chosen()) with its message shown. Close both after success
  // ("All data have been sent") and when the link fails; LastApplySucceeded
  // tells them apart.
  Outcome Apply();
  bool LastApplySucceeded() const { return applied_; }

  // The settings themselves, for callers with or without a dialog: nothing
  // chosen, or t1 and t2 not whole numbers 1 to 30 with t1 below t2, is
  // refused before the instrument is asked; otherwise the chosen commands go
  // out in their fixed order and the first one not acknowledged stops the rest.
  Result Apply(const Choices& choices);
  // The boxes, fields and list entry as the dialog shows them now.
  Choices Chosen() const;

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
  // A set command and its acknowledgement; false when the reply holds no "OK".
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
