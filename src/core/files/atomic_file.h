#pragma once

#include <string>
#include <string_view>

namespace qv70 {

// Replaces the file `path` with `content` so that a reader never sees a partly
// written file and a failure never damages the previous one: the bytes go to a
// new file in the same folder, every write, the flush to disk and the close are
// checked, and only then is it renamed over `path` (a symbolic link is followed,
// so the file it names is replaced). A new file gets the usual permissions
// (0666 less the umask); a replaced one keeps its mode.
//
// Refused without touching anything: an empty path, a target that is not a
// regular file, a target or folder that is read-only (no write permission bit,
// or no write access for this process). Returns false on any failure.
bool WriteFileAtomically(const std::string& path, std::string_view content);

}  // namespace qv70
