#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/data/record_tables.h"
#include "core/instrument/download_buffer.h"
#include "core/platform/ui_services.h"

namespace qv70 {

class RecordTables;
class UsbLink;

// The Obtain Data dialog's work without the window: the count query, the 20
// check boxes (index 0..9 groups A..P, 10..19 logging sets 0..9) with their
// captions and enabled states, the status line, the download with its progress,
// and the final move into RecordTables.
//
// Ownership: the job owns the DownloadBuffer; the link, the tables and the
// UiServices are borrowed and outlive the job. The dialog mirrors the job's
// state into its controls (after each call, or from the callbacks) and turns
// each Outcome into staying open or closing.
//
// Failure: the link tells its own failures (no instrument, pipes that do not
// open) through UiServices. Download returns what it has to tell with its
// outcome and shows nothing; the dialog-shaped calls show it. A failed
// download leaves RecordTables exactly as it was. Besides an empty reply, a
// logging reply that is not headed by its set's label and an identification
// the data file reader would refuse fail the download like a broken exchange:
// what it ends in must open again.
class DownloadJob {
 public:
  struct Callbacks {
    // The main window's status line text changed.
    std::function<void(const std::string&)> status;
    // The progress bar moved (0..100).
    std::function<void(int)> progress;
    // The progress bar was shown or hidden.
    std::function<void(bool)> progressVisible;
    // Called before every exchange with the instrument, so a window can process
    // its events (repaint) during a long download.
    std::function<void()> beforeExchange;
  };

  enum class Outcome {
    Stay,        // the dialog stays open
    Close,       // the dialog closes (the link or the job has said why)
    Downloaded,  // success: the tables hold the new data; refresh the view, then close
  };

  static constexpr int kBoxCount = kCountListSize;

  // The memory groups and logging sets one download fetches.
  struct Selection {
    std::array<bool, kGroupCount> groups{};
    std::array<bool, kSetCount> sets{};
  };

  // How a download ended and what to tell the operator about it.
  struct Result {
    Outcome outcome = Outcome::Stay;
    OperatorMessage message;  // empty when the link has told already
    // An exchange failed part-way: once told, the progress goes back to 0.
    bool brokeOff = false;
  };

  DownloadJob(UsbLink& link, RecordTables& tables, UiServices& ui, Callbacks callbacks = {});

  // "Select Data": the count query. An instrument that answers it with nothing
  // gets "The equipment is unusual,Please restart the equipment(QV70)." (caption
  // "Obtain Data") and changes nothing, as when the pipes do not open.
  Outcome SelectData();
  // A check box clicked into `ticked`: updates the selection sum on the status line.
  // Disabled boxes cannot be ticked; the call is ignored for them.
  void SetBoxTicked(int index, bool ticked);
  // "Select All": ticks every box with a count above 0.
  void SelectAll();
  // "Reselection": unticks every box.
  void Reselect();
  // "Obtain Data": Download of the ticked boxes, its message shown (Report).
  Outcome ObtainData();

  // The download itself, for callers with or without a dialog, after a count
  // query: the progress starts at 0; an empty selection is refused ("You
  // havent't selected data!", the dialog stays); otherwise every chosen group
  // (all ten records, whatever its count) and set is fetched, then the
  // instrument texts, and the tables take the new data as unsaved. Counts of
  // what was not chosen become 0.
  Result Download(const Selection& selection);
  // What the dialog does with a result: shows its message, and after a
  // download that broke off takes the progress back to 0.
  void Report(const Result& result);
  // The boxes ticked now, and every box with a count above 0 ("Select All").
  Selection TickedSelection() const;
  Selection CountedSelection() const;
  // "Cancel", or the dialog ending for any reason: closes the pipes (once) and
  // empties the status line.
  void Finish();

  // What the dialog shows.
  const std::string& BoxCaption(int index) const { return captions_[index]; }
  bool BoxEnabled(int index) const { return enabled_[index]; }
  bool BoxTicked(int index) const { return ticked_[index]; }
  bool SelectAllEnabled() const { return actionsEnabled_; }
  bool ReselectionEnabled() const { return actionsEnabled_; }
  bool ObtainDataEnabled() const { return actionsEnabled_; }
  const std::string& StatusText() const { return status_; }
  int ProgressPosition() const { return progress_; }
  bool ProgressVisible() const { return progressVisible_; }
  const CountList& Counts() const { return buffer_.counts; }
  // True once a count query has been answered.
  bool Counted() const { return counted_; }
  // Sum of the counts of the ticked boxes.
  int SelectedSum() const;

  // The caption a box starts with: "Group A".."Group P", "Data Lr0".."Data Lr9".
  static std::string BaseCaption(int index);

 private:
  bool Exchange(const std::string& command, std::string& reply);
  // A reply that failed part-way: "The equipment is unusual,..." (caption
  // "Obtain Data") to tell, the progress back to 0 once told, the tables as
  // they were.
  static Result BrokenOff();
  void SetStatus(std::string text);
  void SetProgress(int position);
  void SetProgressVisible(bool visible);

  UsbLink& link_;
  RecordTables& tables_;
  UiServices& ui_;
  Callbacks callbacks_;
  DownloadBuffer buffer_;
  std::array<std::string, kBoxCount> captions_;
  std::array<bool, kBoxCount> enabled_{};
  std::array<bool, kBoxCount> ticked_{};
  bool actionsEnabled_ = false;
  bool counted_ = false;
  std::string status_;
  int progress_ = 0;
  bool progressVisible_ = false;
  std::vector<char> replyBuffer_;
};

}  // namespace qv70
