#include "core/data/program_state.h"

namespace qv70 {

void ProgramState::SetNumberFormat(int decimal, int separator) {
  numberFormat.decimal = decimal;
  numberFormat.separator = decimal != 0 ? 1 : separator;
  tables.decimalChar = numberFormat.DecimalChar();
}

}  // namespace qv70
