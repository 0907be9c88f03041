#pragma once

#include <QDialog>
#include <QLineEdit>
#include <memory>

#include "core/platform/environment.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QTimer;

namespace qv70 {

struct ProgramState;
class UiServices;
class UsbDriver;
class UsbLink;
class SettingsJob;

// A t1/t2 field: at most two characters, and only the digits (main keyboard
// or keypad), Left, Right, Backspace and Delete reach it; every other key,
// Tab and Enter included, is swallowed while the field has the focus.
class DigitField : public QLineEdit {
  Q_OBJECT

 public:
  explicit DigitField(QWidget* parent = nullptr);
  // Whether a key press is let through to the field.
  static bool AcceptsKey(int key, const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;
};

// The QV70 Setting window: sets the instrument's clock, its PI times t1 and t2
// and its step interval. Ticking a box reads the instrument's present value
// (the core's settings job does the exchanges and stores what it reads in the
// instrument information of `state`); "Apply" sends every ticked item in the
// order clock, PI, step. Messages go through `ui`; a failed instrument check
// closes the window as "Cancel" does. The clock comes from `environment`. The
// wait cursor shows while the job talks to the instrument.
class CInstrumentSettingDlg : public QDialog {
  Q_OBJECT

 public:
  CInstrumentSettingDlg(ProgramState& state, UiServices& ui, const Environment& environment,
                        QWidget* parent = nullptr);
  ~CInstrumentSettingDlg() override;

  QCheckBox* DateTimeBox() const { return dateTimeBox_; }
  QLineEdit* DateTimeField() const { return dateTimeField_; }
  QCheckBox* PiBox() const { return piBox_; }
  DigitField* T1Field() const { return t1_; }
  DigitField* T2Field() const { return t2_; }
  QCheckBox* StepBox() const { return stepBox_; }
  QComboBox* StepList() const { return stepList_; }
  QPushButton* SelectAllButton() const { return selectAll_; }
  QPushButton* ApplyButton() const { return apply_; }
  QPushButton* CancelButton() const { return cancel_; }
  QTimer* ClockTimer() const { return timer_; }

 public slots:
  void OnDateTimeClicked();
  void OnPiClicked();
  void OnStepClicked();
  void OnSelectAll();
  void OnApply();
  void OnClockTick();
  // "Cancel", Escape or the close box; ignored while an exchange runs.
  void reject() override;

 private:
  void BuildControls();
  // Copies the job's boxes, fields, list and clock text onto the controls.
  void ShowJobState();
  // Runs one job action, then shows its result and closes the window when the
  // action says so.
  template <typename Action>
  void Run(Action action);

  ProgramState& state_;
  UiServices& ui_;
  Environment environment_;
  std::unique_ptr<UsbDriver> driver_;
  std::unique_ptr<UsbLink> link_;
  std::unique_ptr<SettingsJob> job_;
  bool busy_ = false;  // inside an exchange: no second click, no close

  QCheckBox* dateTimeBox_ = nullptr;
  QLineEdit* dateTimeField_ = nullptr;
  QCheckBox* piBox_ = nullptr;
  DigitField* t1_ = nullptr;
  DigitField* t2_ = nullptr;
  QCheckBox* stepBox_ = nullptr;
  QComboBox* stepList_ = nullptr;
  QPushButton* selectAll_ = nullptr;
  QPushButton* apply_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QTimer* timer_ = nullptr;
};

}  // namespace qv70
