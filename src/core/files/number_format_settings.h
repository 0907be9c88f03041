#pragma once

#include <functional>

namespace qv70 {

struct ProgramState;
class SettingsFile;

// The choices of the Customize window while it is open: it starts from the
// current settings and changes nothing until CustomizeOk. A comma decimal cannot
// go with a comma separator, so choosing it disables that button and selects the
// semicolon; going back to the period enables it again without changing the choice.
class CustomizeChoice {
 public:
  CustomizeChoice(int decimal, int separator);

  void ChooseDecimal(int decimal);
  // Ignored while the comma separator is disabled.
  void ChooseSeparator(int separator);

  int Decimal() const { return decimal_; }
  int Separator() const { return separator_; }
  bool SeparatorCommaEnabled() const { return decimal_ == 0; }

 private:
  int decimal_;
  int separator_;
};

// Customize OK, in this order: the settings take the choice; when Config.ini
// exists both are written to its CUSTOMIZE section (otherwise they hold for this
// run only); the decimal character follows; then `redraw` runs (the window layer
// refills the tables, graphs and logging panel; may be empty). Returns false only
// when the existing settings file could not be written; the new settings hold anyway.
bool CustomizeOk(ProgramState& state, SettingsFile& settings, const CustomizeChoice& choice,
                 const std::function<void()>& redraw);

}  // namespace qv70
