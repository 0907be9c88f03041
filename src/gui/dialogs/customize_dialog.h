#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "core/platform/environment.h"

class QPushButton;
class QRadioButton;

namespace qv70 {

struct ProgramState;
class CustomizeChoice;

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
  ~CCustomizeDlg() override;

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
  void OnDecimalChosen(int decimal);
  void OnSeparatorChosen(int separator);
  // Shows the choice on the radio buttons.
  void ShowChoice();

  ProgramState& state_;
  Environment environment_;
  NumberRedraw redraw_;
  std::unique_ptr<CustomizeChoice> choice_;

  QRadioButton* decimalPeriod_ = nullptr;
  QRadioButton* decimalComma_ = nullptr;
  QRadioButton* separatorComma_ = nullptr;
  QRadioButton* separatorSemicolon_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace qv70
