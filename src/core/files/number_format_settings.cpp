#include "core/files/number_format_settings.h"

#include "core/data/program_state.h"
#include "core/files/config_settings.h"
#include "core/files/settings_file.h"

namespace qv70 {

CustomizeChoice::CustomizeChoice(int decimal, int separator)
    : decimal_(decimal != 0 ? 1 : 0), separator_(decimal_ == 1 ? 1 : (separator != 0 ? 1 : 0)) {}

void CustomizeChoice::ChooseDecimal(int decimal) {
  decimal_ = decimal != 0 ? 1 : 0;
  if (decimal_ == 1) separator_ = 1;
}

void CustomizeChoice::ChooseSeparator(int separator) {
  if (!SeparatorCommaEnabled() && separator == 0) return;
  separator_ = separator != 0 ? 1 : 0;
}

bool CustomizeOk(ProgramState& state, SettingsFile& settings, const CustomizeChoice& choice,
                 const std::function<void()>& redraw) {
  // SetNumberFormat also sets the tables' decimal character.
  state.SetNumberFormat(choice.Decimal(), choice.Separator());
  bool written = true;
  if (settings.Exists()) written = WriteNumberFormat(settings, choice.Decimal(), choice.Separator());
  if (redraw) redraw();
  return written;
}

}  // namespace qv70
