#pragma once

#include <string>
#include <string_view>

#include "core/platform/result.h"

namespace qv70 {

// Replaces the file `path` with `content` so that a reader never sees a partly
// written file and a failure never damages the previous one: the bytes go to a
// new file in the same folder, every write, the flush to disk and the close are
// checked, and only then is it renamed over `path`. A new file gets the usual
// permissions (0666 less the umask); a replaced one keeps its mode.
//
// A symbolic link is followed, so the file it names is replaced, but only when
// every link on the way and that file belong to this user: a link someone else
// planted in a shared folder never steers a save onto another file.
//
// The new file has no name while it is written where the file system allows
// (O_TMPFILE); otherwise, and for the moment before the rename, it is
// ".<name>.qv70-save-<pid>-<n>.tmp" beside the target. A save first removes
// such files of the same target left by processes that no longer run (a save
// killed midway), so they never pile up.
//
// Refused without touching anything: an empty path, a target that is not a
// regular file, a target or folder that is read-only (no write permission bit,
// or no write access for this process), a link as above. The failure's message
// is the reason as the operator's second line (SaveFailureReason, or
// save_message::kForeignLink for a link), empty when the usual first line
// ("opened or read only") says it all.
//
// `durability`: every save of the program waits until the file and the rename
// are on the disk (Synced). Unsynced skips only those waits, for a scratch
// file that need not outlive a power cut: the settings fuzzer rewrites one
// thousands of times a second.
enum class Durability { Synced, Unsynced };
Result WriteFileAtomically(const std::string& path, std::string_view content,
                           Durability durability = Durability::Synced);

// What the save failure message adds for the error `error` (an errno value):
// a full disk or quota; empty for the errors the first line already covers.
std::string SaveFailureReason(int error);

// The same save for content made piece by piece (an RTF report page by page),
// so it never has to be held whole: Open checks the target as above and opens
// the new file beside it; Append writes (false once a write has failed);
// Commit flushes, closes and renames it over the target, or reports the first
// failure and leaves the target as it was. A writer destroyed or opened again
// before Commit discards what it wrote.
class AtomicFileWriter {
 public:
  AtomicFileWriter() = default;
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  Result Open(const std::string& path, Durability durability = Durability::Synced);
  bool Append(std::string_view bytes);
  Result Commit();
  void Discard();
  // What the operator's message adds for the first failed write (a full disk).
  std::string FailureReason() const { return SaveFailureReason(error_); }

 private:
  int fd_ = -1;
  int error_ = 0;  // of the first failed write
  std::string targetPath_;
  std::string folder_;
  std::string temporary_;  // empty while the new file has no name
  bool keepMode_ = false;
  Durability durability_ = Durability::Synced;
  unsigned mode_ = 0;
};

}  // namespace qv70
