#include "core/files/config_settings.h"

#include "core/data/program_state.h"
#include "core/data/values.h"
#include "core/files/settings_file.h"

namespace qv70 {

void ReadNumberFormat(const SettingsFile& settings, ProgramState& state) {
  if (!settings.Exists()) return;
  int decimal = TextToInt(settings.Read("CUSTOMIZE", "DECIMAL", ""));
  int separator = TextToInt(settings.Read("CUSTOMIZE", "SEPARATOR", ""));
  state.SetNumberFormat(decimal, separator);
}

bool WriteNumberFormat(SettingsFile& settings, int decimal, int separator) {
  if (!settings.Exists()) return false;
  bool ok = settings.Write("CUSTOMIZE", "DECIMAL", FormatText("%d", decimal)).ok;
  return settings.Write("CUSTOMIZE", "SEPARATOR", FormatText("%d", separator)) && ok;
}

WindowRect ReadWindowRect(const SettingsFile& settings) {
  WindowRect rect;
  if (!settings.Exists()) return rect;
  rect.left = TextToInt(settings.Read("WNDRECT", "LEFT", "0"));
  rect.top = TextToInt(settings.Read("WNDRECT", "TOP", "0"));
  rect.right = TextToInt(settings.Read("WNDRECT", "RIGHT", "800"));
  rect.bottom = TextToInt(settings.Read("WNDRECT", "BOTTOM", "600"));
  return rect;
}

bool WriteWindowRect(SettingsFile& settings, const WindowRect& rect) {
  bool ok = settings.Write("WNDRECT", "LEFT", FormatText("%d", rect.left)).ok;
  ok = settings.Write("WNDRECT", "TOP", FormatText("%d", rect.top)) && ok;
  ok = settings.Write("WNDRECT", "RIGHT", FormatText("%d", rect.right)) && ok;
  return settings.Write("WNDRECT", "BOTTOM", FormatText("%d", rect.bottom)) && ok;
}

}  // namespace qv70
