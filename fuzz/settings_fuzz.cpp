// Config.ini as any bytes: every reader, then a rewrite of one key, which must
// leave every other key readable as before. The scratch file is rewritten
// without waiting for the disk, which cost far more than the rest.

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

// A folder of its own for one input, removed after it (libFuzzer ends with
// _Exit, so nothing left at the end would ever be cleared). In memory where the
// system has a tmpfs: on a disk file system a rename over a file starts
// writing it out, even without a sync.
class ScratchFolder {
 public:
  ScratchFolder() {
    for (const char* base : {"/dev/shm", "/tmp"}) {
      std::string pattern = std::string(base) + "/qv70-fuzz-settings-XXXXXX";
      if (mkdtemp(pattern.data()) != nullptr) {
        path_ = pattern;
        return;
      }
    }
  }
  ~ScratchFolder() {
    if (path_.empty()) return;
    std::remove((path_ + "/Config.ini").c_str());
    rmdir(path_.c_str());
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ScratchFolder folder;
  if (folder.Path().empty()) return 0;
  qv70::SettingsFile settings(qv70::SettingsFile::InDirectory(folder.Path()).Path(),
                              qv70::Durability::Unsynced);
  std::FILE* file = std::fopen(settings.Path().c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  // The tables are large; building them for every input cost more than the
  // rest. The number format is read from every input, so none leaks into the next.
  static qv70::ProgramState* state = new qv70::ProgramState();
  qv70::ReadNumberFormat(settings, *state);
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
