#include "core/files/data_folder_setup.h"

#include <sys/stat.h>

#include "core/files/atomic_file.h"
#include "core/platform/bounded_file.h"
#include "core/platform/environment.h"

namespace qv70 {

namespace {

constexpr const char* kKeptFiles =
    "settings (Config.ini), the report comment (Comment.inl) and graph pictures (DAT)";

std::string WhereFilesAreText(const std::string& programDirectory, const std::string& dataDirectory) {
  return "The program folder " + programDirectory + " cannot be written, so your " + kKeptFiles +
         " are kept in " + dataDirectory + ".";
}

std::string NothingKeptText(const DataFolder& data) {
  const std::string why =
      data.userFolder.empty()
          ? "The program folder " + data.path + " cannot be written and there is no home folder"
          : "Neither the program folder " + data.path + " nor " + data.userFolder + " can be written";
  return why + ": your " + kKeptFiles + " will not be kept.";
}

// Copies `name` from the program folder when the data folder has none; the
// failure as a line for the operator, empty when there was nothing to do or
// the copy succeeded. A damaged file is left behind, as it reads as empty.
std::string CopyMissingFile(const std::string& programDirectory, const std::string& dataDirectory,
                            const std::string& name) {
  const std::string target = JoinPath(dataDirectory, name);
  if (FileExists(target)) return {};
  const BoundedFile source = ReadBoundedFile(JoinPath(programDirectory, name), kMaxSideFileSize);
  if (source.state != FileState::Read) return {};
  const Result copied = WriteFileAtomically(target, source.content);
  if (copied) return {};
  std::string line = name + " of the program folder could not be copied there.";
  if (!copied.message.empty()) line += " " + copied.message;
  return line;
}

}  // namespace

OperatorMessage PrepareDataFolder(const std::string& programDirectory, const DataFolder& data) {
  switch (data.place) {
    case DataPlace::Program: return {};
    case DataPlace::Nowhere: return {NothingKeptText(data), kDataFolderCaption, MessageIcon::Warning};
    case DataPlace::UserConfig: break;
  }
  // Without DAT/ the graph picture is not written, as beside the program.
  mkdir(JoinPath(data.path, "DAT").c_str(), 0700);
  std::string failures;
  for (const char* name : {"Config.ini", "Comment.inl"}) {
    const std::string failure = CopyMissingFile(programDirectory, data.path, name);
    if (!failure.empty()) failures += "\n" + failure;
  }
  const std::string note = JoinPath(data.path, kDataFolderNoteName);
  if (failures.empty() && FileExists(note)) return {};
  const std::string text = WhereFilesAreText(programDirectory, data.path);
  if (failures.empty()) WriteFileAtomically(note, text + "\n");
  return {text + failures, kDataFolderCaption,
          failures.empty() ? MessageIcon::Information : MessageIcon::Warning};
}

}  // namespace qv70
