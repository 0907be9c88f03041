#pragma once

#include "core/data/record_tables.h"

namespace qv70 {

// The decimal symbol and list separator of data files and tables, as the
// Customize dialog sets them. In memory a comma decimal always comes with the
// semicolon separator; the settings file keeps what the dialog wrote.
struct NumberFormat {
  int decimal = 0;    // 0: period, 1: comma
  int separator = 0;  // 0: comma, 1: semicolon

  char SeparatorChar() const { return separator == 0 ? ',' : ';'; }
  const char* DecimalChar() const { return decimal == 0 ? "." : ","; }
};

// What the program knows: created once by the application (or by a test) and
// passed by reference to every command. Nothing here is global.
struct ProgramState {
  RecordTables tables;
  NumberFormat numberFormat;

  // Sets the number format and the tables' decimal character together.
  void SetNumberFormat(int decimal, int separator);
};

}  // namespace qv70
