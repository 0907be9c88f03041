#pragma once

#include <string>

namespace qv70 {

class SettingsFile;
struct ProgramState;

// Every key of Config.ini with its reader and writer. Readers and writers do
// nothing when the file does not exist, except the window-rectangle writer,
// which creates it.

// CUSTOMIZE: DECIMAL and SEPARATOR into the program state (a comma decimal forces
// the semicolon separator in memory only) and the decimal character with them.
void ReadNumberFormat(const SettingsFile& settings, ProgramState& state);
// The Customize dialog's OK: writes both keys when the file exists.
bool WriteNumberFormat(SettingsFile& settings, int decimal, int separator);

// INFO, the report texts, belongs to the report settings (core/report/report_start.h).

// WNDRECT: the main window's screen rectangle.
struct WindowRect {
  int left = 0;
  int top = 0;
  int right = 800;
  int bottom = 600;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const WindowRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};
// The stored rectangle; the defaults 0, 0, 800, 600 for a missing file or key.
WindowRect ReadWindowRect(const SettingsFile& settings);
// Always writes, creating the file when it is missing; values written with "%d".
bool WriteWindowRect(SettingsFile& settings, const WindowRect& rect);

}  // namespace qv70
