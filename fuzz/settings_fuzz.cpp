// Config.ini as any bytes: every reader, then a rewrite of one key, which must
// leave every other key readable as before.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/data/program_state.h"
#include "core/files/config_settings.h"
#include "core/files/settings_file.h"
#include "core/report/report_start.h"

namespace {

std::string ScratchFolder() {
  static std::string folder = [] {
    char pattern[] = "/tmp/qv70-fuzz-settings-XXXXXX";
    const char* made = mkdtemp(pattern);
    return std::string(made ? made : "/tmp");
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qv70::SettingsFile settings = qv70::SettingsFile::InDirectory(ScratchFolder());
  std::FILE* file = std::fopen(settings.Path().c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  qv70::ProgramState state;
  qv70::ReadNumberFormat(settings, state);
  qv70::ReportInfoTexts texts;
  qv70::ReadReportInfo(settings, texts);
  qv70::WindowRect rect = qv70::ReadWindowRect(settings);

  const std::string author = settings.Read("INFO", "AUTHOR", "");
  if (author.size() > qv70::SettingsFile::kMaxValueLength) std::abort();
  if (!qv70::WriteWindowRect(settings, rect)) return 0;
  // Rewriting the window rectangle must not change another section's value,
  // except where the rectangle's own section name shadowed it.
  if (settings.Read("INFO", "AUTHOR", "") != author) std::abort();
  qv70::WindowRect again = qv70::ReadWindowRect(settings);
  if (again.left != rect.left || again.bottom != rect.bottom) std::abort();
  return 0;
}
