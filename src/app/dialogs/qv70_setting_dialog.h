#pragma once

#include <QDialog>
#include <QLineEdit>
#include <ctime>
#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QPushButton;
class QTimer;

namespace qv70 {

struct Environment;
struct ProgramState;
class UiServices;
class SettingsJob;

// The instrument clock text shown while "Set Date time" is ticked:
// "%Y-%m-%d %p %I:%M:%S" of local time, written by the C library, so the
// AM/PM marker follows the process locale and not the widget toolkit's.
std::string ClockDisplayText(std::time_t now);

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
// closes the window as "Cancel" does. The clock comes from `environment`.
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

 private:
  void BuildControls();
  // The instrument check failed: the window closes as with "Cancel".
  void CloseAsCancel();

  ProgramState& state_;
  UiServices& ui_;
  const Environment& environment_;
  std::unique_ptr<SettingsJob> job_;
  bool closing_ = false;

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
