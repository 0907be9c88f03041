#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <string>

class QCheckBox;
class QGroupBox;
class QProgressBar;
class QPushButton;

namespace qv70 {

struct Environment;
struct ProgramState;
class UiServices;
class UsbDriver;
class UsbLink;
class DownloadJob;
class DownloadPainting;

// The Obtain Data window: counts what the instrument holds ("Select Data"),
// lets the operator tick memory groups and logging sets, and downloads them
// ("Obtain Data"). The instrument exchanges, the captions with their count
// suffixes, the status texts and every message come from the core's download
// job; this window shows them and keeps painting while the job blocks, under
// the wait cursor: the progress bar whenever it moves, the rest at the first
// exchange of a press and then at most every tenth of a second.
//
// Owns its instrument link for one modal run. Messages go through `ui`. The
// main window's status line is written through `setStatusText`; after a
// successful download `showNewData` makes the main view show the new tables
// (rebuilt tabs, tables, graphs, filter "All", page switch) before the window
// closes. A failed download leaves `state` exactly as it was.
class CObtainDataDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kBoxCount = 20;  // groups 0..9, then logging sets 10..19

  CObtainDataDlg(ProgramState& state, UiServices& ui, const Environment& environment,
                 std::function<void(const std::string&)> setStatusText,
                 std::function<void()> showNewData, QWidget* parent = nullptr);
  ~CObtainDataDlg() override;

  // The controls, for the window's owner and for tests.
  QCheckBox* DataBox(int index) const { return boxes_[index]; }
  QPushButton* SelectDataButton() const { return selectData_; }
  QPushButton* SelectAllButton() const { return selectAll_; }
  QPushButton* ReselectionButton() const { return reselection_; }
  QPushButton* ObtainDataButton() const { return obtainData_; }
  QPushButton* CancelButton() const { return cancel_; }
  QProgressBar* ProgressBar() const { return progress_; }

 public slots:
  void OnSelectData();
  void OnSelectAll();
  void OnReselection();
  void OnObtainData();
  void OnCancel();

  // "Cancel", Escape or the close box; ignored while an exchange runs.
  void reject() override;

 private:
  void BuildControls();
  void OnBoxClicked(int index);
  // Copies the job's enabled states, ticks and captions onto the controls.
  void ShowJobState();
  // Ends the modal run: pipes closed, status line emptied.
  void Finish(int result);

  ProgramState& state_;
  UiServices& ui_;
  std::function<void(const std::string&)> setStatusText_;
  std::function<void()> showNewData_;
  std::unique_ptr<UsbDriver> driver_;
  std::unique_ptr<UsbLink> link_;
  std::unique_ptr<DownloadJob> job_;
  std::unique_ptr<DownloadPainting> painting_;
  bool busy_ = false;  // inside a blocking exchange: no second click, no close
  bool finished_ = false;

  std::array<QCheckBox*, kBoxCount> boxes_{};
  QGroupBox* dataFrame_ = nullptr;
  QGroupBox* manualFrame_ = nullptr;
  QGroupBox* loggingFrame_ = nullptr;
  QPushButton* selectData_ = nullptr;
  QPushButton* selectAll_ = nullptr;
  QPushButton* reselection_ = nullptr;
  QPushButton* obtainData_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QProgressBar* progress_ = nullptr;
};

}  // namespace qv70
