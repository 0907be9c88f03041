#pragma once

#include <string>

#include "core/files/atomic_file.h"
#include "core/platform/result.h"

namespace qv70 {

// Config.ini in the data folder (core/platform/data_folder.h): "[SECTION]"
// lines and "key=value" lines. Section and key names match without regard to
// case, with surrounding blanks ignored. A rewrite keeps every other line of
// the file as it was; lines this class adds end with CR LF. Reads return at
// most 254 characters.
//
// A file that is there but cannot be a settings file is damaged: not a regular
// file, larger than kMaxSideFileSize (core/platform/bounded_file.h), unreadable,
// or holding a NUL byte. It reads as empty (every default) and is never
// rewritten. Nothing here waits on a FIFO or reads a device.
class SettingsFile {
 public:
  static constexpr size_t kMaxValueLength = 254;

  // `durability` of every write (see WriteFileAtomically): the program's
  // settings are always Synced.
  explicit SettingsFile(std::string path, Durability durability = Durability::Synced)
      : path_(std::move(path)), durability_(durability) {}
  // The settings file of the program in `directory`.
  static SettingsFile InDirectory(const std::string& directory);

  const std::string& Path() const { return path_; }
  bool Exists() const;

  // The value, or `defaultValue` when the file, the section or the key is absent.
  std::string Read(const std::string& section, const std::string& key,
                   const std::string& defaultValue) const;
  // The value read with atoi (unreadable text gives 0).
  int ReadInt(const std::string& section, const std::string& key, int defaultValue) const;

  // Writes the value through WriteFileAtomically, creating the file, the
  // section or the key when needed. A failure when the file is damaged or
  // cannot be written, or when a name or the value would break the line layout
  // (a line end, or "=" or "]" in a name).
  Result Write(const std::string& section, const std::string& key, const std::string& value);

 private:
  std::string path_;
  Durability durability_;
};

}  // namespace qv70
