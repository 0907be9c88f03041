#pragma once

#include <QDialog>
#include <functional>

class QPushButton;
class QRadioButton;

namespace qv70 {

struct Environment;
struct ProgramState;

// What the main view redraws after the number format changed, in this order.
// Any member may be empty (nothing to redraw there yet).
struct NumberRedraw {
  std::function<void()> fillManualTable;
  std::function<void()> fillLoggingTable;
  std::function<void()> showLoggingGraph;
  std::function<void()> showStepGraph;  // of the selected record
  std::function<void()> showLoggingInfo;
};

// The Customize window: the decimal symbol and the list separator of data files
// and tables. A comma decimal cannot be combined with the comma separator, so
// choosing it disables the separator's comma and selects the semicolon. OK
// stores the choice in `state` (and in Config.ini of the program directory
// when that file exists) and redraws through `redraw`; Cancel or the close box
// changes nothing.
class CCustomizeDlg : public QDialog {
  Q_OBJECT

 public:
  CCustomizeDlg(ProgramState& state, const Environment& environment, NumberRedraw redraw,
                QWidget* parent = nullptr);

  QRadioButton* DecimalPeriod() const { return decimalPeriod_; }
  QRadioButton* DecimalComma() const { return decimalComma_; }
  QRadioButton* SeparatorComma() const { return separatorComma_; }
  QRadioButton* SeparatorSemicolon() const { return separatorSemicolon_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

 public slots:
  void accept() override;

 private:
  void BuildControls();
  void OnDecimalComma();
  void OnDecimalPeriod();

  ProgramState& state_;
  const Environment& environment_;
  NumberRedraw redraw_;

  QRadioButton* decimalPeriod_ = nullptr;
  QRadioButton* decimalComma_ = nullptr;
  QRadioButton* separatorComma_ = nullptr;
  QRadioButton* separatorSemicolon_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace qv70
